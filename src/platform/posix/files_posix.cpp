#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov {

namespace {

std::string HostPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

constexpr std::size_t kCopyBlock = 1u << 20;

struct Dir {
    DIR* d;
    ~Dir() {
        if (d)
            closedir(d);
    }
};

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0)
            close(fd);
    }
};

// The system's words for `error`, as the callers of files.h expect them.
void Explain(std::string* failure, int error) {
    if (!failure)
        return;
    *failure = std::strerror(error);
    if (!failure->empty())
        (*failure)[0] = static_cast<char>(std::tolower(static_cast<unsigned char>((*failure)[0])));
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::int64_t StampOf(const struct stat& st) {
    constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * kNanosecondsPerSecond + st.st_mtim.tv_nsec;
}

} // namespace

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(getpid());
}

std::vector<FoundEntry> ListFolder(const std::string& folder) {
    std::vector<FoundEntry> out;
    const std::string host = HostPath(folder);
    Dir dir{opendir(host.empty() ? "." : host.c_str())};
    if (!dir.d)
        return out;
    while (const dirent* e = readdir(dir.d)) {
        FoundEntry entry{e->d_name, FileAttribute::None};
        struct stat st {};
        std::string full = host;
        if (!full.empty() && full.back() != '/')
            full += '/';
        full += e->d_name;
        // A symbolic link stands for a reparse point; what it leads to decides the directory bit.
        const bool link = lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
        if (stat(full.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                entry.attributes = FileAttribute::Folder;
            entry.lastWrite = StampOf(st);
            entry.size = static_cast<std::uint64_t>(st.st_size);
        }
        if (link)
            entry.attributes = entry.attributes | FileAttribute::Link;
        out.push_back(std::move(entry));
    }
    return out;
}

bool IsPlainFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(HostPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(HostPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && lstat(HostPath(path).c_str(), &st) == 0;
}

PathState ProbePath(const std::string& path, std::string* failure) {
    struct stat st {};
    if (!path.empty() && lstat(HostPath(path).c_str(), &st) == 0)
        return PathState::Present;
    if (path.empty() || errno == ENOENT)
        return PathState::Absent;
    Explain(failure, errno);
    return PathState::Unknown;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(HostPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::optional<std::int64_t> LastWriteStamp(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(HostPath(path).c_str(), &st) != 0)
        return std::nullopt;
    return StampOf(st);
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit, std::string* failure) {
    Fd f{open(HostPath(path).c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) {
        Explain(failure, errno);
        return std::nullopt;
    }
    struct stat st {};
    if (fstat(f.fd, &st) != 0) {
        Explain(failure, errno);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        Explain(failure, EISDIR);
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        Explain(failure, EFBIG);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(f.fd, buffer, sizeof buffer);
        if (n < 0) {
            Explain(failure, errno);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > limit) {
            Explain(failure, EFBIG);
            return std::nullopt;
        }
    }
    return bytes;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, std::string* failure) {
    bool written = false;
    {
        Fd f{open(HostPath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
        if (f.fd < 0) {
            Explain(failure, errno);
            return false;
        }
        written = WriteAll(f.fd, bytes) && fsync(f.fd) == 0;
        if (!written)
            Explain(failure, errno);
    }
    if (!written)
        RemoveFile(path);
    return written;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    Fd f{open(HostPath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)};
    return f.fd >= 0 && WriteAll(f.fd, bytes);
}

bool MakeFolder(const std::string& path) {
    return mkdir(HostPath(path).c_str(), 0700) == 0 || IsFolder(path);
}

bool RemoveFile(const std::string& path) {
    return unlink(HostPath(path).c_str()) == 0;
}

bool RemoveFolder(const std::string& path) {
    return rmdir(HostPath(path).c_str()) == 0;
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::uint64_t limit) {
    Fd source{open(HostPath(from).c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st {};
    if (source.fd < 0 || fstat(source.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > limit)
        return false;
    bool copied = false;
    {
        Fd target{open(HostPath(to).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
        if (target.fd < 0)
            return false;
        std::string buffer(kCopyBlock, '\0');
        std::uint64_t total = 0;
        for (;;) {
            const ssize_t n = read(source.fd, buffer.data(), buffer.size());
            if (n < 0)
                break;
            total += static_cast<std::uint64_t>(n);
            if (n == 0) {
                copied = true;
                break;
            }
            if (total > limit || !WriteAll(target.fd, buffer.substr(0, static_cast<std::size_t>(n))))
                break;
        }
    }
    if (!copied)
        RemoveFile(to);
    return copied;
}

std::string AbsolutePath(const std::string& path) {
    const std::string host = HostPath(path);
    if (host.starts_with('/'))
        return path;
    std::string current(PATH_MAX, '\0');
    if (!getcwd(current.data(), current.size()))
        return {};
    current.resize(std::strlen(current.c_str()));
    return JoinPath(current, path);
}

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

bool MoveFileToFreeName(const std::string& from, const std::string& to, std::string* failure) {
    // A hard link is made only where no name is; the staged name then goes.
    if (link(HostPath(from).c_str(), HostPath(to).c_str()) != 0) {
        Explain(failure, errno);
        return false;
    }
    unlink(HostPath(from).c_str());
    return true;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* failure) {
    if (rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0)
        return true;
    Explain(failure, errno);
    return false;
}

} // namespace tov
