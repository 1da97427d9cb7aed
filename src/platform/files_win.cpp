#include "platform/files.h"
#include "platform/text.h"

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

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, want, &put, nullptr) || put == 0)
            return false;
        done += put;
    }
    return true;
}

} // namespace

std::vector<FoundEntry> ListFolder(const std::string& folder) {
    std::vector<FoundEntry> out;
    if (folder.empty())
        return out;
    WIN32_FIND_DATAW data{};
    FindHandle find{FindFirstFileW(Wide(JoinPath(folder, "*")).c_str(), &data)};
    if (find.h == INVALID_HANDLE_VALUE)
        return out;
    do {
        out.push_back({Narrow(data.cFileName), ToFileAttributes(data.dwFileAttributes)});
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

std::optional<std::uint64_t> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit) {
    FileHandle f{CreateFileW(Wide(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.h, &size) || static_cast<std::uint64_t>(size.QuadPart) > limit)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!ReadFile(f.h, bytes.data() + done, want, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    FileHandle f{CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE)
        return false;
    return WriteAll(f.h, bytes) && FlushFileBuffers(f.h) != 0;
}

bool WriteNewFile(const std::string& path, const std::string& bytes) {
    bool written = false;
    {
        FileHandle f{CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (f.h == INVALID_HANDLE_VALUE)
            return false;
        written = WriteAll(f.h, bytes) && FlushFileBuffers(f.h) != 0;
    }
    if (!written)
        RemoveFile(path);
    return written;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0 || IsFolder(path);
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace tov
