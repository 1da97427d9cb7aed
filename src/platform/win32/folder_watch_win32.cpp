// Folder watches: one thread per watch issues every folder's ReadDirectoryChangesW and waits on
// them all at once and on a stop event, asks each change whether it matters, and hands a
// report over.
#include "platform/win32/win32_platform.h"

#include "platform/catch_at_edge.h"
#include "platform/win32/background_win32.h"

#include <atomic>
#include <thread>

namespace tov::win32 {

namespace {

// Large enough for a burst of changes to long paths; a burst larger still is reported as
// "anything may have changed", which is as good.
constexpr DWORD kChangeBufferBytes = 64 * 1024;
constexpr DWORD kChangesWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                  FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                  FILE_NOTIFY_CHANGE_CREATION;

constexpr ULONGLONG kCancelWaitMs = 200;

struct WatchedFolder {
    FolderWatchRequest request;
    UniqueHandle folder;
    UniqueHandle event;
    OVERLAPPED overlapped{};
    std::vector<DWORD> buffer = std::vector<DWORD>(kChangeBufferBytes / sizeof(DWORD)); // DWORD-aligned
    bool pending = false;

    bool Issue() {
        overlapped = {};
        overlapped.hEvent = event.Get();
        pending = ReadDirectoryChangesW(folder.Get(), buffer.data(), kChangeBufferBytes, request.subtree,
                                        kChangesWatched, nullptr, &overlapped, nullptr) != 0;
        return pending;
    }
    // Asks a read still under way to end, whichever thread issued it; Finished tells when it has.
    void Cancel() {
        if (pending)
            CancelIoEx(folder.Get(), &overlapped);
    }
    // Whether the read has ended by `deadline`, so that its buffer may go.
    bool Finished(ULONGLONG deadline) {
        if (!pending)
            return true;
        const ULONGLONG now = GetTickCount64();
        const DWORD wait = deadline > now ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(event.Get(), wait) != WAIT_OBJECT_0)
            return false;
        DWORD ignored = 0;
        GetOverlappedResult(folder.Get(), &overlapped, &ignored, FALSE);
        pending = false;
        return true;
    }
    // Whether the changes just read hold one that matters.
    bool Relevant(DWORD bytes) const {
        if (bytes == 0)
            return request.relevant(""); // the system's buffer overflowed: it lost count
        const auto* base = reinterpret_cast<const BYTE*>(buffer.data());
        for (DWORD offset = 0;;) {
            const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
            const std::wstring_view name(change->FileName, change->FileNameLength / sizeof(wchar_t));
            const std::string changed = Narrow(name);
            if (changed.empty() || request.relevant(changed))
                return true;
            if (change->NextEntryOffset == 0 || offset + change->NextEntryOffset >= bytes)
                return false;
            offset += change->NextEntryOffset;
        }
    }
};

struct WatchShared {
    std::vector<std::unique_ptr<WatchedFolder>> folders;
    UniqueHandle stop;
    std::shared_ptr<HandOverMailbox> mailbox;
    // The program's side: the report to make, and whether the watch is still held.
    std::shared_ptr<std::function<void()>> onChange;
    std::shared_ptr<bool> held;
    std::atomic<bool> reportWaiting{false};
};

void Report(const std::shared_ptr<WatchShared>& shared) {
    if (shared->reportWaiting.exchange(true))
        return; // one report at a time is enough: it starts a rebuild of everything
    shared->mailbox->Post([shared] {
        shared->reportWaiting = false;
        if (*shared->held)
            (*shared->onChange)();
    });
}

// Not every system ends a cancelled read at once (Wine may not end it at all), and the program
// must not wait for it on its way out: a folder whose read has not ended by then is left to the
// process's end, its buffer with it, rather than freed under the system's feet.
void EndReads(std::vector<std::unique_ptr<WatchedFolder>>& folders) {
    for (const auto& f : folders)
        f->Cancel();
    const ULONGLONG deadline = GetTickCount64() + kCancelWaitMs;
    for (auto& f : folders)
        if (!f->Finished(deadline))
            static_cast<void>(f.release());
    folders.clear();
}

// However the loop ends, no buffer goes while the system may still write into it.
class ReadsEnder {
  public:
    explicit ReadsEnder(std::vector<std::unique_ptr<WatchedFolder>>& folders) : folders_(folders) {}
    ~ReadsEnder() { EndReads(folders_); }
    ReadsEnder(const ReadsEnder&) = delete;
    ReadsEnder& operator=(const ReadsEnder&) = delete;

  private:
    std::vector<std::unique_ptr<WatchedFolder>>& folders_;
};

void WatchLoop(const std::shared_ptr<WatchShared>& shared) {
    const ReadsEnder ender(shared->folders);
    std::vector<HANDLE> events{shared->stop.Get()};
    for (const auto& f : shared->folders) {
        f->Issue(); // when this fails the folder went away, and its event stays unsignalled
        events.push_back(f->event.Get());
    }
    for (;;) {
        const DWORD woke =
            WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 || woke < WAIT_OBJECT_0 || woke >= WAIT_OBJECT_0 + events.size())
            break;
        WatchedFolder& f = *shared->folders[woke - WAIT_OBJECT_0 - 1];
        DWORD bytes = 0;
        const bool read = GetOverlappedResult(f.folder.Get(), &f.overlapped, &bytes, FALSE) != 0;
        f.pending = false;
        if (!read || f.Relevant(bytes))
            Report(shared);
        ResetEvent(f.event.Get());
        if (read)
            f.Issue(); // when this fails the folder went away, and its event stays unsignalled
    }
}

class Win32FolderWatch : public FolderWatch {
  public:
    Win32FolderWatch(std::shared_ptr<WatchShared> shared, std::thread thread)
        : shared_(std::move(shared)), thread_(std::move(thread)) {}
    ~Win32FolderWatch() override {
        *shared_->held = false;
        SetEvent(shared_->stop.Get());
        if (thread_.joinable())
            thread_.join();
    }

  private:
    std::shared_ptr<WatchShared> shared_;
    std::thread thread_;
};

} // namespace

FolderWatchPtr Background::Watch(std::vector<FolderWatchRequest> folders, std::function<void()> onChange) {
    auto shared = std::make_shared<WatchShared>();
    for (auto& request : folders) {
        auto f = std::make_unique<WatchedFolder>();
        HANDLE folder =
            CreateFileW(Wide(request.folder).c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (folder != INVALID_HANDLE_VALUE)
            f->folder.Reset(folder);
        f->event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        f->request = std::move(request);
        // Up to the most handles one wait can take, the stop event among them.
        if (f->folder && f->event && shared->folders.size() + 1 < MAXIMUM_WAIT_OBJECTS)
            shared->folders.push_back(std::move(f));
    }
    shared->stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (shared->folders.empty() || !shared->stop)
        return nullptr;
    shared->mailbox = mailbox_;
    shared->onChange = std::make_shared<std::function<void()>>(std::move(onChange));
    shared->held = std::make_shared<bool>(true);
    try {
        std::thread thread([shared]() noexcept {
            CatchAtEdge(nullptr, "a folder watch", [&shared] { WatchLoop(shared); });
        });
        return std::make_unique<Win32FolderWatch>(std::move(shared), std::move(thread));
    } catch (const std::system_error&) {
        return nullptr; // no read was issued
    }
}

} // namespace tov::win32
