// How the program ends: either its message loop runs out of windows, or some
// thread ends it with an exit code. Either way the exit routine runs once.
#pragma once

using ExitRoutine = void (*)();

// The routine that runs once when the program ends (ReleaseGlobals).
void RegisterExitRoutine(ExitRoutine routine);

// Runs the exit routine unless it has run already.
void RunExitRoutine();

// Runs the exit routine, then ends the process with code. Any thread; does
// not return.
[[noreturn]] void EndProgram(int code);

// The user's or the flow's way out: stops the download daemon first, since
// it would outlive the launcher, then EndProgram(0).
[[noreturn]] void QuitProgram();

// The libraries' way out after a failure they have shown (bound to
// RaiseFatalExit): the daemon is stopped, as on every way out, then EndProgram.
[[noreturn]] void EndAfterFatalError(int code);
