// The page actions that run as work of their own: game start, the add-on and
// mod lists and their switches, add-on packages, the Steam account. The page
// bridge reads the page's message and calls these. The globals that keep
// what the page asked for (GameServerAddress, AddonPackageUrl,
// AddonPackageFileName) are written before a worker starts, and the worker
// gets its own copy: the UI thread may rewrite them for the next action.
#pragma once

#include <string>

// Worker threads.
void LaunchGame(const std::string& address);
void FillAddonsList();
void FillModsList();
void InstallAddonPackage(const std::string& url, const std::string& fileName);
void StartAddonDownload(const std::string& url, const std::string& fileName);
void ReportSteamInfo();

// UI thread: move one "*.rpf" file between a folder and its "-disabled" twin.
void DisableAddon(const std::string& fileName);
void EnableAddon(const std::string& fileName);
void DisableMod(const std::string& fileName);
void EnableMod(const std::string& fileName);

// Timer ticks of MainWindow: the game watch (时钟2) and the add-on download
// progress (时钟4).
void WatchGameExit();
void AddonProgressTimerTick();
