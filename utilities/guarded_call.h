// The one guard at every boundary an exception must not cross: window
// procedures, SendMessage, thread entries and callbacks called from other
// code (the notification thread, engine callbacks). mingw's unwinder would
// end the process without a word, and a swallowed exception would leave the
// user before a status line that never changes. Instead the user gets the
// runtime's error box and the program ends through RaiseFatalExit.
#pragma once

// Shows the runtime's error box ("运行时出错!") in front of the program's
// windows and ends the program through RaiseFatalExit(0).
[[noreturn]] void EndAfterRuntimeError();

// Runs work; its result, or no return at all when it throws.
template <typename F>
auto GuardedCall(F&& work) -> decltype(work()) {
    try {
        return work();
    } catch (...) {
        EndAfterRuntimeError();
    }
}
