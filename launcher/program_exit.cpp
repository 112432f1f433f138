#include "launcher/program_exit.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<ExitRoutine> registeredRoutine{nullptr};
std::atomic<bool> routineRan{false};
}  // namespace

void RegisterExitRoutine(ExitRoutine routine) { registeredRoutine = routine; }

void RunExitRoutine() {
    // Two threads may end the program at once; only the first runs the routine.
    if (routineRan.exchange(true)) return;
    if (ExitRoutine routine = registeredRoutine.load()) routine();
}

void EndProgram(int code) {
    RunExitRoutine();
    ExitProcess((UINT)code);
}
