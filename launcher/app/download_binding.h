// Hands the application's state and the updater window's display changes to
// the download engine, which keeps no window code of its own.
#pragma once

// Call once at start, after the globals exist and before any daemon call.
void BindLauncherToDownloadEngine();
