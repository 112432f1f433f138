// The actions that are still to come do nothing yet; the page gets no answer.
#include "launcher/page_actions/page_action_entries.h"

void FillAddonsList() {}
void FillModsList() {}
void InstallAddonPackage() {}
void StartAddonDownload() {}
void ReportSteamInfo() {}
void DisableAddon(const std::string&) {}
void EnableAddon(const std::string&) {}
void DisableMod(const std::string&) {}
void EnableMod(const std::string&) {}
void AddonProgressTimerTick() {}
