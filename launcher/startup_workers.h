// The three worker threads that the updater window starts when it is created.
#pragma once

#include "launcher/worker_thread.h"

// The update and installation flow.
void UpdateFlow();
// Downloads the updater window's header picture into "launcher_cache".
void RefreshHeaderImage();
// Installs the digital font of the speed line.
void InstallDigitalFont();

// Starts one of them (StartWorkerThread); tests put a recorder in its place.
extern bool (*StartStartupWorker)(WorkerRoutine routine);
