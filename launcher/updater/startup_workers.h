// The three worker threads that the updater window starts when it is created.
#pragma once

#include "launcher/app/worker_thread.h"

// The update and installation flow.
void UpdateFlow();
// Does nothing yet: the header picture is fetched into "launcher_cache" once
// its module is part of the program.
void RefreshHeaderImage();
// Does nothing yet: the speed line keeps the system's font until the digital
// font's module is part of the program.
void InstallDigitalFont();

// Starts one of them (StartWorkerThread); tests put a recorder in its place.
extern bool (*StartStartupWorker)(WorkerRoutine routine);
