// What happens when the daemon reports the current main download complete:
// the new launcher replaces the running one through a script, or the archive
// is unpacked into the FiveM folder with 7-Zip and the installation goes on.
#pragma once

#include <cstdint>
#include <string>

// The completion routine registered for "aria2.onDownloadComplete"; text is
// the notification. Acts only on a gid of the current main download. Runs on
// the notification receive thread.
void OnDownloadComplete(const std::string& text);

// Thread routine: unpacks DownloadFileName into the FiveM folder and goes on
// with the installation (full client) or lets the waiting client update go
// on (update package). A 7-Zip exit code of 2 or more is a failed unpack.
void UnpackPackage();

uint32_t GetOwnProcessId();

// Replaces the running launcher with "temp-launcher.exe" through
// "temp-update.cmd" and ends the process; when the download is no Windows
// executable, says so and goes on with the client check instead.
void InstallDownloadedLauncher();
