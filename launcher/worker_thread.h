// Worker threads of the flows: started without a parameter and never joined.
#pragma once

using WorkerRoutine = void (*)();

// Starts routine on a new thread and closes the thread's handle at once.
// True when the thread started.
bool StartWorkerThread(WorkerRoutine routine);
