// The actions that are still to come do nothing yet; the page gets no answer.
#include "launcher/page_actions/page_action_entries.h"

void InstallAddonPackage() {}
void StartAddonDownload() {}
void AddonProgressTimerTick() {}
