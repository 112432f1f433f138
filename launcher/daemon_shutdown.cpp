#include "launcher/daemon_shutdown.h"

#include "download/rpc_request.h"

void ShutdownDownloadDaemon() { StopDownloadDaemon(); }
