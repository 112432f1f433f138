// The update and installation flow: helper tools, launcher self-update,
// client check, package choice and installation. UpdateFlow itself is
// declared with the other start-up workers (startup_workers.h).
#pragma once

#include <string>

#include "launcher/app/program_folder.h"  // FolderOfFile, the chosen client's folder

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

// The flow is done: shows the loading line, waits two seconds and lets
// MainWindow open.
void FinishStartup();
