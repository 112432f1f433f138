#include "launcher/updater/startup_workers.h"

// Placeholders: the header picture and the font arrive with their own
// modules. UpdateFlow lives in update_flow.cpp.
void RefreshHeaderImage() {}
void InstallDigitalFont() {}

bool (*StartStartupWorker)(WorkerRoutine routine) = StartWorkerThread;
