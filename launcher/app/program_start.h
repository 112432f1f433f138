// The application's start: globals, GDI+, the RPC identity, the updater
// window and the UI thread's message loop.
#pragma once

// Called once on the UI thread by the process entry, after OLE is initialised
// and the current directory is the program folder. Returns 0 when the message
// loop ends.
int ProgramStart();

// Starts GDI+ once; a failure is ignored (images that need it fail later).
void StartGdiplus();

// Dispatches the calling thread's messages until the last window of the
// layer is gone or a quit request arrives.
void RunMessageLoop();
