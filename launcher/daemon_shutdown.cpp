#include "launcher/daemon_shutdown.h"

void ShutdownDownloadDaemon() {
    // Placeholder: the two requests go out through the download engine's
    // Aria2Shutdown and Aria2ForceShutdown once it is linked in. Until then no
    // daemon is ever started, so there is nothing to stop.
}
