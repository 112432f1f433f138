#include "launcher/app/program_exit.h"

#include <windows.h>

#include <atomic>

#include "download/rpc_request.h"

namespace {
std::atomic<ExitRoutine> registeredRoutine{nullptr};
// Who runs the routine: 0 nobody yet, else that thread's id.
std::atomic<DWORD> runningThread{0};
std::atomic<bool> routineDone{false};
}  // namespace

void RegisterExitRoutine(ExitRoutine routine) { registeredRoutine = routine; }

void RunExitRoutine() {
    DWORD self = GetCurrentThreadId();
    DWORD expected = 0;
    if (!runningThread.compare_exchange_strong(expected, self)) {
        // Another thread is ending the program: wait until its routine is
        // done, or this thread's ExitProcess would cut it short. The routine
        // itself ending the program does not wait for itself.
        if (expected != self)
            while (!routineDone) Sleep(1);
        return;
    }
    if (ExitRoutine routine = registeredRoutine.load()) routine();
    routineDone = true;
}

void EndProgram(int code) {
    RunExitRoutine();
    ExitProcess((UINT)code);
}

void EndAfterFatalError(int code) {
    StopDownloadDaemon();
    EndProgram(code);
}

void QuitProgram() { EndAfterFatalError(0); }
