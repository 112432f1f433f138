// Every way out of the program asks the download daemon to stop first.
#pragma once

// Sends "aria2.shutdown", then at once "aria2.forceShutdown"; replies ignored.
void ShutdownDownloadDaemon();
