// Making sure the local download daemon "aria2c.exe" runs and listens on
// 127.0.0.1:36510, started from the program folder when it does not.
#pragma once

#include <string>

// The daemon's command line: the quoted path of "aria2c.exe" in
// programFolder, then its options with the RPC secret. The RPC port listens
// on the loopback address only.
std::string BuildDaemonCommandLine(const std::string& programFolder, const std::string& secret);

// True when a connection to the daemon's port succeeded, at once or, after
// starting the daemon hidden from the program folder, within 20 more
// attempts 50 ms apart. Runs on worker threads.
bool EnsureDownloadDaemon();

// Attempts after the daemon was started, and the pause before each.
constexpr int kDaemonStartAttempts = 20;
constexpr int kDaemonAttemptPauseMs = 50;
