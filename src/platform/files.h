#pragma once
// File access. Paths are UTF-8 with backslashes, as on Windows; elsewhere the backslashes
// are taken as the host's separators, so the same code walks real folders in tests.
#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// What a folder listing tells of an entry, as bits.
enum class FileAttribute : std::uint32_t { None = 0, Folder = 1u << 0, Hidden = 1u << 1, System = 1u << 2 };
template <> inline constexpr bool kIsFlagSet<FileAttribute> = true;

struct FoundEntry {
    std::string name;
    FileAttribute attributes = FileAttribute::None;
};

// The entries of a folder in the order the file system gives them ("." and ".." included
// where the system reports them); empty when the folder cannot be listed.
std::vector<FoundEntry> ListFolder(const std::string& folder);

// A file that a plain directory search finds: exists, is no folder, is neither hidden nor system.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);
// Anything at all at `path`: file, folder, hidden or not.
bool PathExists(const std::string& path);
// The size of the file at `path`, or nothing when there is none.
std::optional<std::uint64_t> FileSize(const std::string& path);

// The whole file, or nothing when it cannot be read or is larger than `limit` bytes.
std::optional<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit = 64u << 20);

// Writes a temporary file beside `path` and then puts it in place of `path`, so a failure
// at any point leaves the old file whole.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);
bool AppendToFile(const std::string& path, const std::string& bytes);
// Creates the file and writes all of `bytes`; false, with nothing left behind, when something
// of that name exists already or the writing fails.
bool WriteNewFile(const std::string& path, const std::string& bytes);
// Creates one folder, readable and writable by its owner; true when it exists afterwards.
bool MakeFolder(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to); // replaces `to`

// `folder` + "\" + `name`, without doubling a backslash that `folder` already ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace tov
