#include "launcher/startup_workers.h"

// Placeholders: the update flow, the header picture and the font arrive with
// their own modules.
void UpdateFlow() {}
void RefreshHeaderImage() {}
void InstallDigitalFont() {}

bool (*StartStartupWorker)(WorkerRoutine routine) = StartWorkerThread;
