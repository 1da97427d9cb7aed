#include "base/text.h"
#include "platform/files.h"

#include <windows.h>

namespace tov {

namespace {

std::wstring Wide(const std::string& s) {
    const std::u16string w = Utf8ToUtf16(s);
    return std::wstring(w.begin(), w.end());
}

std::string Narrow(const wchar_t* s) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(s), wcslen(s)));
}

constexpr std::size_t kChunk = 1u << 20;

struct FindHandle {
    HANDLE h;
    ~FindHandle() {
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
    }
};

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

FileAttribute ToFileAttributes(DWORD windowsAttributes) {
    FileAttribute attributes = FileAttribute::None;
    if (windowsAttributes & FILE_ATTRIBUTE_DIRECTORY)
        attributes = attributes | FileAttribute::Folder;
    if (windowsAttributes & FILE_ATTRIBUTE_HIDDEN)
        attributes = attributes | FileAttribute::Hidden;
    if (windowsAttributes & FILE_ATTRIBUTE_SYSTEM)
        attributes = attributes | FileAttribute::System;
    return attributes;
}

// The system's words for `error` (FormatMessageW), as the callers of files.h expect them:
// "Access is denied.\r\n" becomes "access is denied".
void Explain(std::string* failure, DWORD error) {
    if (!failure)
        return;
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length != 0 && buffer)
        text = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), length));
    LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '.' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (text.empty())
        text = "system error " + std::to_string(error);
    if (text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    *failure = std::move(text);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        if (!WriteFile(file, bytes.data() + done, want, &put, nullptr) || put == 0)
            return false;
        done += put;
    }
    return true;
}

} // namespace

std::uint32_t CurrentProcessId() {
    return GetCurrentProcessId();
}

std::vector<FoundEntry> ListFolder(const std::string& folder) {
    std::vector<FoundEntry> out;
    if (folder.empty())
        return out;
    WIN32_FIND_DATAW data{};
    FindHandle find{FindFirstFileW(Wide(JoinPath(folder, "*")).c_str(), &data)};
    if (find.h == INVALID_HANDLE_VALUE)
        return out;
    do {
        DWORD attributes = data.dwFileAttributes;
        // Only junctions and links stand for another place; cloud placeholders and the like
        // are the files themselves.
        FileAttribute found = ToFileAttributes(attributes);
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(data.dwReserved0))
            found = found | FileAttribute::Link;
        out.push_back({Narrow(data.cFileName), found,
                       static_cast<std::int64_t>(
                           (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime),
                       (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    } while (FindNextFileW(find.h, &data));
    return out;
}

bool IsPlainFile(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES &&
           (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool IsFolder(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const std::string& path) {
    return !path.empty() && GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

PathState ProbePath(const std::string& path, std::string* failure) {
    if (path.empty())
        return PathState::Absent;
    if (GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return PathState::Present;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return PathState::Absent;
    Explain(failure, error);
    return PathState::Unknown;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::int64_t> LastWriteStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                     data.ftLastWriteTime.dwLowDateTime);
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit, std::string* failure) {
    FileHandle f{CreateFileW(Wide(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) {
        Explain(failure, GetLastError());
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.h, &size)) {
        Explain(failure, GetLastError());
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > limit) {
        Explain(failure, ERROR_FILE_TOO_LARGE);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        if (!ReadFile(f.h, bytes.data() + done, want, &got, nullptr)) {
            Explain(failure, GetLastError());
            return std::nullopt;
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, std::string* failure) {
    bool written = false;
    {
        FileHandle f{CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (f.h == INVALID_HANDLE_VALUE) {
            Explain(failure, GetLastError());
            return false;
        }
        written = WriteAll(f.h, bytes) && FlushFileBuffers(f.h) != 0;
        if (!written)
            Explain(failure, GetLastError());
    }
    if (!written)
        RemoveFile(path);
    return written;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    FileHandle f{CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE)
        return false;
    return WriteAll(f.h, bytes);
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0 || IsFolder(path);
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}

bool RemoveFolder(const std::string& path) {
    return RemoveDirectoryW(Wide(path).c_str()) != 0;
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::uint64_t limit) {
    // The writer may hold the file open for writing and deleting; so may this reader.
    FileHandle source{CreateFileW(Wide(from).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    LARGE_INTEGER size{};
    if (source.h == INVALID_HANDLE_VALUE || !GetFileSizeEx(source.h, &size) ||
        static_cast<std::uint64_t>(size.QuadPart) > limit)
        return false;
    bool copied = false;
    {
        FileHandle target{CreateFileW(Wide(to).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr)};
        if (target.h == INVALID_HANDLE_VALUE)
            return false;
        std::string buffer(kChunk, '\0');
        std::uint64_t total = 0;
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(source.h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
                break;
            total += got;
            if (got == 0) {
                copied = true;
                break;
            }
            if (total > limit || !WriteAll(target.h, buffer.substr(0, got)))
                break;
        }
    }
    if (!copied)
        RemoveFile(to);
    return copied;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    return Narrow(full.c_str());
}

std::string TemporaryFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(buffer)), buffer);
    return length == 0 || length >= std::size(buffer) ? std::string() : Narrow(buffer);
}

bool MoveFileToFreeName(const std::string& from, const std::string& to, std::string* failure) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails where anything is at `to`.
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    Explain(failure, GetLastError());
    return false;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* failure) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return true;
    Explain(failure, GetLastError());
    return false;
}

} // namespace tov
