#include "launcher/updater/startup_workers.h"

// UpdateFlow lives in update_flow.cpp, RefreshHeaderImage in
// header_image.cpp, InstallDigitalFont in digital_font_install.cpp.
bool (*StartStartupWorker)(WorkerRoutine routine) = StartWorkerThread;
