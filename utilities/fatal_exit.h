// How a library ends the program after a failure it cannot go on from. No
// library ends the process itself: static destructors would run under live
// worker threads, and the program's exit routine and the download daemon's
// shutdown would be skipped. The program binds the end once at start; the
// library has told the user (a box) before it calls RaiseFatalExit.
#pragma once

using FatalExitHandler = void (*)(int code);

// Binds the program's way out; it must not return. Bound once at start,
// before any thread that may fail runs.
void BindFatalExit(FatalExitHandler handler);

// Hands the end to the bound handler; without one the process ends with
// code. Any thread; does not return.
[[noreturn]] void RaiseFatalExit(int code);
