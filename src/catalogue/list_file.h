#pragma once
// The program's list files ("customprograms.lst", "influence.lst", "commandtack.lst"):
// lines ended by CR LF in the ANSI code page. A file that starts with a UTF-8 byte-order
// mark is UTF-8; the writers switch to that form only when a line has a character the
// code page lacks, so the usual file stays readable by older tools.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// The file's lines in UTF-8. CR LF, a lone CR and a lone LF all end a line; a last line
// without an ending counts. Nothing when the file is absent (hidden and system files count as absent).
std::optional<std::vector<std::string>> ReadListFile(const std::string& path);

// Splits raw bytes as ReadListFile does (after the encoding is settled).
std::vector<std::string> SplitListLines(const std::string& bytes);

// A file's bytes to its lines, and lines to the bytes a writer stores: ANSI when every
// line fits the code page, else UTF-8 behind the byte-order mark.
std::vector<std::string> DecodeListFile(std::string_view bytes);
std::string EncodeListFile(const std::vector<std::string>& lines);

// Rewrites the whole file through a temporary file beside it.
bool WriteListFile(const std::string& path, const std::vector<std::string>& lines);

// Adds lines at the end, keeping the file's encoding; an ANSI file that cannot hold the
// new lines is rewritten whole as UTF-8. The file is replaced through a temporary file too,
// so a failure never leaves half a record behind.
bool AppendListFile(const std::string& path, const std::vector<std::string>& lines);

} // namespace tov
