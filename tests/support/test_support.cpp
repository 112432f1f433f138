#include "support/test_support.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "utilities/busy_delay.h"
#include "utilities/win_handles.h"

namespace testsupport {

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string BinDir() {
    const char* dir = getenv("QM_BIN_DIR");
    return dir ? WindowsPath(dir) : std::string(".");
}

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        snprintf(buf, sizeof buf, "%02X", c);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

TempFolder::TempFolder() {
    char base[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, base);
    std::string root(base, n);
    if (!root.empty() && root.back() == '\\') root.pop_back();
    static LONG counter = 0;
    for (;;) {
        char name[64];
        snprintf(name, sizeof name, "\\qmtest-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        path_ = root + name;
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path) {
    std::string out;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    fclose(f);
    return out;
}

long long FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void WhileServicing(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    while (!done) BusyDelay(10);
    worker.join();
}

bool ServiceUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (condition()) return true;
        BusyDelay(10);
    }
    return condition();
}

unsigned long TimeWokenBusyWaits(int rounds, const std::function<void(std::atomic<bool>& flag)>& raise) {
    std::atomic<bool> sawNothing{false}, flag{false};
    std::thread raiser([&] {
        for (int round = 0; round < rounds; ++round) {
            while (!sawNothing.exchange(false)) Sleep(1);
            raise(flag);
        }
    });
    DWORD start = GetTickCount();
    for (int round = 0; round < rounds; ++round) {
        BusyWaitUntil([&] {
            if (flag.exchange(false)) return true;
            sawNothing = true;
            return false;
        });
    }
    DWORD elapsed = GetTickCount() - start;
    raiser.join();
    return elapsed;
}

bool ServicePostedMessages(int timeoutMs) {
    // Posted messages are taken in the order they came: once a marker posted
    // now has been taken, everything posted before it has been dispatched.
    static const UINT marker = RegisterWindowMessageA("Quillmere.TestQueueMarker");
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    if (!PostThreadMessageA(GetCurrentThreadId(), marker, 0, 0)) return false;
    return ServiceUntil(
        [] {
            MSG pending;
            return !PeekMessageA(&pending, reinterpret_cast<HWND>(-1), marker, marker, PM_NOREMOVE);
        },
        timeoutMs);
}

void DiscardPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

namespace {

std::mutex abortMutex;
std::vector<std::function<void()>>& AbortActions() {
    static std::vector<std::function<void()>> actions;
    return actions;
}

}  // namespace

void OnTestProgramAbort(std::function<void()> action) {
    std::lock_guard<std::mutex> lock(abortMutex);
    AbortActions().push_back(std::move(action));
}

void RunTestProgramAbortActions() {
    std::vector<std::function<void()>> actions;
    {
        std::lock_guard<std::mutex> lock(abortMutex);
        actions = AbortActions();
    }
    for (auto& action : actions) action();
}

namespace {
std::mutex portsMutex;
int portsHolders = 0;
UniqueHandle portsFile;
// Another folder's whole test program may hold the ports for minutes.
const DWORD kPortsWaitMs = 15 * 60 * 1000;
}  // namespace

PortsLock::PortsLock() {
    std::lock_guard<std::mutex> lock(portsMutex);
    if (portsHolders++ > 0) return;
    // Only test runs of several build folders on one machine contend for the
    // ports; a CI run is alone, and ctest's resource locks order its tests.
    if (getenv("CI")) return;
    portsFile.Reset(CreateFileA("Z:\\tmp\\quillmere-test-ports.lock", GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!portsFile.Valid()) return;
    WaitFor(
        [] {
            OVERLAPPED at{};
            return LockFileEx(portsFile.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) !=
                   FALSE;
        },
        kPortsWaitMs);
}

PortsLock::~PortsLock() {
    std::lock_guard<std::mutex> lock(portsMutex);
    if (--portsHolders > 0 || !portsFile.Valid()) return;
    OVERLAPPED at{};
    UnlockFileEx(portsFile.Get(), 0, 1, 0, &at);
    portsFile.Reset();
}

}  // namespace testsupport
