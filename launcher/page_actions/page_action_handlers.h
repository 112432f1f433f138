// One function per page action, each taking the argument as the message
// carried it (raw); the ones that want it decoded decode it themselves.
// All run on the UI thread; those that do their work on a worker write the
// globals that keep the page's request, then start the worker with its own
// copy and return.
#pragma once

#include <string>

// Window: hide, close with a fade, drag by the banner.
void MinimizeWindowAction(const std::string& argument);
void CloseWindowAction(const std::string& argument);
void HoverBannerAction(const std::string& argument);
void ReleaseBannerAction(const std::string& argument);

// Writes the installed client version into the page's #gameversion.
void LoadVersionAction(const std::string& argument);

// Hand-offs to the game start, the lists, the switches and the Steam report.
void StartGameAction(const std::string& argument);
void GetAddonsListAction(const std::string& argument);
void GetModsListAction(const std::string& argument);
void DisableAddonsAction(const std::string& argument);
void EnableAddonsAction(const std::string& argument);
void DisableModsAction(const std::string& argument);
void EnableModsAction(const std::string& argument);
void GetSteamInfoAction(const std::string& argument);

// Command lines the page sends, started as they are: the page is the
// community's own, and running its tools is what these actions are for.
void RunCommandAction(const std::string& argument);
void RunCommandHiddenAction(const std::string& argument);

void SwitchLanguageAction(const std::string& argument);

void InstallPackageAction(const std::string& argument);
void InstallBigPackageAction(const std::string& argument);

// advpack's IsNTAdmin: true when the process has administrator rights.
bool IsAdmin();

// True when value may stand as the game's language in a command line:
// letters, digits, "-" and "_", at least one.
bool IsLanguageValue(const std::string& value);
