// The three worker threads that the updater window starts when it is created.
#pragma once

#include "launcher/app/worker_thread.h"

#include "launcher/updater/digital_font_install.h"
#include "launcher/updater/header_image.h"

// The update and installation flow.
void UpdateFlow();

// Starts one of them (StartWorkerThread); tests put a recorder in its place.
extern bool (*StartStartupWorker)(WorkerRoutine routine);
