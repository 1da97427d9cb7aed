#pragma once
// The program's list files ("customprograms.lst", "influence.lst", "commandtack.lst"):
// lines ended by CR LF, usually in the ANSI code page. People edit them in Notepad, which
// saves UTF-8 (with or without a byte-order mark) or UTF-16, so every one of those reads
// back, and a file is written back in the form it was read in.
#include "base/text.h"
#include "platform/code_pages.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

enum class ListEncoding { Ansi, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

// What a person could have written: past these, lines are left out (and counted).
inline constexpr std::size_t kMaxListLines = 200'000; // 100,000 records of two lines
inline constexpr std::size_t kMaxListLineBytes = 32 * 1024;

struct ListText {
    std::vector<std::string> lines; // UTF-8
    ListEncoding encoding = ListEncoding::Ansi;
    // Every byte became text that writes back the same; false for bytes that are no text in
    // the encoding, NUL characters, and lines that were left out. Only an exact file is rewritten.
    bool exact = true;
    std::size_t leftOut = 0; // lines past kMaxListLines, and lines longer than kMaxListLineBytes (kept empty)
};

// A file's bytes to its lines. A byte-order mark says UTF-8 or UTF-16 (LE or BE); without
// one, a file that is valid UTF-8 and holds bytes above 0x7F is UTF-8, anything else is in
// `codePage`. CR LF, a lone CR and a lone LF all end a line; a last line without an ending counts.
// Other text files read the same way may allow longer lines.
ListText DecodeListFile(std::string_view bytes, unsigned codePage = AnsiCodePage(),
                        std::size_t maxLineBytes = kMaxListLineBytes);

// Lines to the bytes of a file in `encoding`, each line ended by CR LF. ANSI that cannot hold
// a line, or that would read back as something else, is written as UTF-8 behind a mark.
std::string EncodeListFile(const std::vector<std::string>& lines, ListEncoding encoding = ListEncoding::Ansi,
                           unsigned codePage = AnsiCodePage());

// The file's text; nothing when the file is absent or cannot be read (hidden and system files
// count as absent).
std::optional<ListText> ReadListFile(const std::string& path, unsigned codePage = AnsiCodePage());

// The file's lines for the loaders; `log` hears of lines left out.
std::optional<std::vector<std::string>> LoadListLines(const std::string& path,
                                                      const std::function<void(std::string_view)>& log);

struct ListSave {
    bool saved = false;
    std::string failure; // why not, for a person: "access is denied"
};

// Reads the file as it is on disk now, lets `change` edit its lines and writes them back in the
// encoding the file was read in (an absent file starts empty, in ANSI), through a temporary
// file. A file that is there but cannot be read, or whose text did not decode exactly, is left
// as it is.
ListSave ChangeListFile(const std::string& path, const std::function<void(std::vector<std::string>&)>& change,
                        unsigned codePage = AnsiCodePage());

// Record helpers for files of two-line records. AppendRecord first completes a half record at
// the end with an empty line, so the new record stays a record of its own and every line stays.
void AppendRecord(std::vector<std::string>& lines, std::string first, std::string second);
// Removes every whole record for which `drop` is true; a half record at the end stays.
void RemoveRecords(std::vector<std::string>& lines,
                   const std::function<bool(const std::string& first, const std::string& second)>& drop);

} // namespace tov
