// Worker threads of the flows: started without a parameter and never joined.
#pragma once

#include <functional>

using WorkerRoutine = void (*)();

// Starts routine on a new thread and closes the thread's handle at once.
// True when the thread started.
bool StartWorkerThread(WorkerRoutine routine);

// Starts work on a new thread that owns it and what it holds: a page action
// hands its worker copies of the values it took, which the UI thread may
// rewrite for the next action while this worker still reads them. True when
// the thread started.
bool StartWorkerThread(std::function<void()> work);

// Starts routine on a new thread where the caller then waits for it (a flag
// it sets, a box it shows). When no thread can be made the program cannot go
// on: the runtime's error box, then the end, rather than a wait without end.
void StartWorkerOrEnd(WorkerRoutine routine);
