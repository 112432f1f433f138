// Keeping the installed client current: its version is the number in
// "launcher_version.txt" of the FiveM folder.
#pragma once

#include <string>

// Compares the installed version with LatestClientVersion; on any difference
// downloads the update package from that version as "temp-update.zip",
// waits until it is unpacked into the FiveM folder and deletes it. Runs on
// the calling flow thread. True when the client is current or updated; false
// when the download failed (the user was told).
bool UpdateClient();

// The query of the update package for the installed version local.
std::string ClientUpdatePath(int local, int server);

// The version in a client's "FiveM.app\caches.xml"; 0 when the file is missing.
int ReadCachesVersion(const std::string& path);

// The version that a caches file's text holds (ReadCachesVersion's rule).
int CachesVersionOfText(const std::string& text);
