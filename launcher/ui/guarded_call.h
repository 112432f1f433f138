// Exceptions must not cross a window procedure, SendMessage or a thread entry:
// mingw's unwinder would end the process without a word. Window procedures and
// thread entries run their work through GuardedCall.
#pragma once

#include <exception>

// Shows the runtime's error box ("运行时出错!") and ends the program with code 0.
[[noreturn]] void EndAfterRuntimeError();

template <typename F>
bool GuardedCall(F&& work) {
    try {
        return work();
    } catch (...) {
        EndAfterRuntimeError();
    }
}
