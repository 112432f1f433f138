// Shared helpers for the test executables that run under Wine.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// True when the process runs under Wine rather than Windows.
bool RunningUnderWine();

// Windows form of a path handed over from the Linux side (Z: maps "/").
std::string WindowsPath(const std::string& unixOrWindowsPath);

// The build's bin folder (from ctest's environment), Windows form, no trailing "\".
std::string BinDir();

// Bytes of a text literal, for tables of encoded input.
std::string Bytes(std::initializer_list<unsigned char> bytes);

// Hex dump such as "D6 D0 CE C4", for readable failure messages.
std::string Hex(const std::string& bytes);

// A fresh empty folder under the temporary folder, removed with everything in it
// when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // no trailing "\"
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// The size without opening the file, so that a program deleting or
// replacing it meanwhile is not refused for a sharing violation; -1 when
// it is missing.
long long FileSizeOf(const std::string& path);

// Waits until predicate holds, polling every 50 ms; false after timeoutMs.
template <typename Predicate>
bool WaitFor(Predicate predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// Runs work on a worker thread and keeps this thread's windows serviced
// until it is done; the work's own waits bound how long that is.
void WhileServicing(const std::function<void()>& work);

// Keeps this thread's windows serviced until condition holds, checking every
// 10 ms of busy delay; false when it still does not hold after timeoutMs.
bool ServiceUntil(const std::function<bool()>& condition, int timeoutMs);

// Times rounds of BusyWaitUntil on this thread. Each round, once the waiter
// has looked and found its flag unset, another thread calls raise(flag),
// which must get the flag set and the waiter woken (a wake, a message).
// A lost wake leaves the waiter asleep for its whole 250 ms fallback, every
// round; a working one needs a thread switch. Milliseconds of all rounds.
unsigned long TimeWokenBusyWaits(int rounds, const std::function<void(std::atomic<bool>& flag)>& raise);

// Keeps this thread's windows serviced until every message posted to this
// thread before the call has been dispatched; false after timeoutMs.
bool ServicePostedMessages(int timeoutMs = 5000);

// Drops every message waiting for this thread, a quit request included, so
// that one test leaves nothing for the next.
void DiscardPendingMessages();

// One test case that runs longer than its limit (QM_TEST_CASE_SECONDS,
// default 240) ends the whole test program with exit code 124, after naming
// the case and running these actions from another thread. They end what the
// case started outside the program, which would otherwise keep ctest
// waiting on the program's output until ctest's own limit.
void OnTestProgramAbort(std::function<void()> action);
// Run by the test program's entry point when it ends a case.
void RunTestProgramAbortActions();

// Holds the fixed ports (the daemon's and the service's) for this process.
// Build folders of their own run their tests at the same time on one
// machine, and ctest's resource locks reach only the tests of one run; a
// byte-range lock on a file of the Linux side reaches every Wine process.
// Nested holders in one process share the one lock. A CI run is alone and
// takes none. Programs of fixed-port tests hold it from start to end.
class PortsLock {
public:
    PortsLock();
    ~PortsLock();
    PortsLock(const PortsLock&) = delete;
    PortsLock& operator=(const PortsLock&) = delete;
};

}  // namespace testsupport
