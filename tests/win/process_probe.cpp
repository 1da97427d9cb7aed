// Prints the priority class of every running process with the given file name and the
// priority of each of its threads, as the system has them:
//   process_probe Tovlen.exe  ->  "class=32" then "thread=<id> priority=<n>" lines
// Exits with 1 when no such process runs.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Snapshot {
    HANDLE handle;
    explicit Snapshot(DWORD what) : handle(CreateToolhelp32Snapshot(what, 0)) {}
    ~Snapshot() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

void PrintThreads(DWORD process) {
    const Snapshot threads(TH32CS_SNAPTHREAD);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(threads.handle, &entry); more;
         more = Thread32Next(threads.handle, &entry)) {
        if (entry.th32OwnerProcessID != process)
            continue;
        const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread)
            continue;
        std::printf("thread=%lu priority=%d\n", static_cast<unsigned long>(entry.th32ThreadID),
                    GetThreadPriority(thread));
        CloseHandle(thread);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    const Snapshot processes(TH32CS_SNAPPROCESS);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(processes.handle, &entry); more;
         more = Process32NextW(processes.handle, &entry)) {
        if (_wcsicmp(entry.szExeFile, argv[1]) != 0)
            continue;
        const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        found = true;
        std::printf("class=%lu\n", static_cast<unsigned long>(GetPriorityClass(process)));
        CloseHandle(process);
        PrintThreads(entry.th32ProcessID);
    }
    return found ? 0 : 1;
}
