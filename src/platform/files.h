#pragma once
// File access. Paths are UTF-8 with backslashes, as on Windows; elsewhere the backslashes
// are taken as the host's separators, so the same code walks real folders in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// File attributes, as FILE_ATTRIBUTE_* are numbered.
#ifndef FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
#endif
#ifndef FILE_ATTRIBUTE_HIDDEN
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
#endif
#ifndef FILE_ATTRIBUTE_SYSTEM
constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
#endif
#ifndef FILE_ATTRIBUTE_DIRECTORY
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
#endif
#ifndef FILE_ATTRIBUTE_ARCHIVE
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
#endif
#ifndef FILE_ATTRIBUTE_NORMAL
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
#endif

struct FoundEntry {
    std::string name;
    std::uint32_t attributes = 0;
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
