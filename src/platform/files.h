#pragma once
// File access. Paths are UTF-8 with backslashes, as on Windows; elsewhere the backslashes
// are taken as the host's separators, so the same code walks real folders in tests.
#include "base/flags.h"
#include "base/paths.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// What a folder listing tells of an entry, as bits. A link is a junction or symbolic link: it
// stands for another place.
enum class FileAttribute : std::uint32_t {
    None = 0,
    Folder = 1u << 0,
    Hidden = 1u << 1,
    System = 1u << 2,
    Link = 1u << 3
};
template <> inline constexpr bool kIsFlagSet<FileAttribute> = true;

struct FoundEntry {
    std::string name;
    FileAttribute attributes = FileAttribute::None;
    // When the entry was last written and how large it is, as the listing gave them (units as
    // LastWriteStamp's); a stamp of 0 means the listing did not say.
    std::int64_t lastWrite = 0;
    std::uint64_t size = 0;
};

// The entries of a folder in the order the file system gives them ("." and ".." included
// where the system reports them); empty when the folder cannot be listed. Junctions and
// symbolic links carry FileAttribute::Link, with Folder when they lead to a folder.
std::vector<FoundEntry> ListFolder(const std::string& folder);

// A file that a plain directory search finds: exists, is no folder, is neither hidden nor system.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);
// Anything at all at `path`: file, folder, hidden or not.
bool PathExists(const std::string& path);

// Whether anything is at `path`, where it matters that not knowing is not "absent": only the
// system's "not found" (of the entry or of a folder on the way) counts as Absent; a look that
// fails otherwise (access denied, a file in use) is Unknown, and `failure` says why.
enum class PathState { Absent, Present, Unknown };
PathState ProbePath(const std::string& path, std::string* failure = nullptr);
// The size of the file at `path`, or nothing when there is none.
std::optional<std::uint64_t> FileSize(const std::string& path);
// When the file or folder at `path` was last written, in the system's own units; nothing when
// there is none. Only compared with itself: a different value means a different file.
std::optional<std::int64_t> LastWriteStamp(const std::string& path);

// Where a failing call below can say why, it puts the system's words for it into `failure`:
// lower case, no full stop, such as "access is denied".

// The whole file, or nothing when it cannot be read or is larger than `limit` bytes.
std::optional<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit = 64u << 20,
                                         std::string* failure = nullptr);

// Writes a new temporary file beside `path`, under a name no other writer uses, and then puts
// it in place of `path`; so a failure at any point leaves the old file whole, and a reader or
// another writer never sees half a file.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string* failure = nullptr);
// The same for a file that is not there: a file that another writer put at `path` meanwhile
// stays as it is, and the answer is false.
bool CreateFileContents(const std::string& path, const std::string& bytes, std::string* failure = nullptr);
// The name of the temporary file that those two write beside `path`: "~", its name, the process
// id, a random number and ".tmp" (an uninstaller deletes what a crash left by that pattern).
std::string ReplacementFileName(const std::string& path);

// Has `save` write a new file at a path in `stagingFolder` that nobody else uses, then moves
// it to `path`, replacing what is there. Until the move, nothing new appears in the folder
// of `path`, so a crash half-way leaves at most a stray file in `stagingFolder`. `extension`
// (such as ".lnk") ends the staged name, for writers that insist on one.
bool SaveThroughStaging(const std::string& stagingFolder, const std::string& path,
                        const std::string& extension,
                        const std::function<bool(const std::string& stagedPath)>& save,
                        std::string* failure = nullptr);

// Appends `bytes`, creating the file. They reach the system at once, so a crash of the program
// keeps them, but are not flushed to the disk: the log appends from the program's thread, and a
// flush there can take hundreds of milliseconds while the disk is busy, with keys waiting.
bool AppendToFile(const std::string& path, const std::string& bytes);
// Creates the file, readable and writable by its owner, writes all of `bytes` and flushes them
// to the disk; false, with nothing left behind, when something of that name exists already or
// the writing fails.
bool WriteNewFile(const std::string& path, const std::string& bytes, std::string* failure = nullptr);
// Creates one folder, readable and writable by its owner; true when it exists afterwards.
bool MakeFolder(const std::string& path);
bool RemoveFile(const std::string& path);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);
// Copies the file at `from`, as it is now and however its writer holds it open, to a new file
// at `to` (false, with nothing left behind, when something is there or the copy fails), at
// most `limit` bytes of it.
bool CopyToNewFile(const std::string& from, const std::string& to, std::uint64_t limit);
// The user's own folder for temporary files; empty when the system names none.
std::string TemporaryFolder();
// `path` from the root: a relative path is taken from the current folder. Empty when it cannot
// be made so.
std::string AbsolutePath(const std::string& path);
// Replaces `to`; moves between volumes by copying where the system can.
bool RenameFile(const std::string& from, const std::string& to, std::string* failure = nullptr);
// Moves a file within its volume to `to` only where nothing is: false, with `from` left as it
// is, when something is at `to` already.
bool MoveFileToFreeName(const std::string& from, const std::string& to, std::string* failure = nullptr);

// A file name, unique to this call, for a temporary file: `stem`, the process id, a random
// part and `extension`.
std::string UniqueFileName(const std::string& stem, const std::string& extension);
std::uint32_t CurrentProcessId();

} // namespace tov
