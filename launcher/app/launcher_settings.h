// The settings file "launcher_config.ini" in the program folder: created with
// defaults when missing, read into the settings globals, missing keys written
// back, and values clamped in memory.
#pragma once

#include <string>

// Creates, reads and repairs programFolder + "\launcher_config.ini" and sets
// DownloadThreads, LowSpeedLimitKB, DownloadServer, FiveMFolder and
// ColorProgressBar.
void LoadLauncherSettings(const std::string& programFolder);

// Writes [fivem] path := folder into programFolder + "\launcher_config.ini".
void SaveFiveMFolder(const std::string& programFolder, const std::string& folder);
