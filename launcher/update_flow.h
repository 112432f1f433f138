// The update and installation flow: helper tools, launcher self-update,
// client check, package choice and installation. UpdateFlow itself is
// declared with the other start-up workers (startup_workers.h).
#pragma once

#include <string>

// From the client version check on: runs on a flow thread (UpdateFlow's, or
// a new one when a downloaded launcher proved unusable).
void UpdateFlowClientStage();

// Thread routine: once the folder dialog is up, puts it on top at 32,32.
void RaiseFolderDialog();

// The decisions of the flow, apart so that they can be tested alone.
bool LauncherUpdateNeeded(int latestBuild);
// The service path of the package to download for choice 1 or 2; empty for
// any other choice.
std::string PackageDownloadPath(int choice, int server);
std::string LauncherUpdatePath(int server);
// The folder of a chosen file: its path up to the last "\".
std::string FolderOfFile(const std::string& path);
