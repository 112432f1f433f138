// runCommand and runCommandHidden: the page's tools, started from the
// program folder without waiting for them.
#include <windows.h>

#include "launcher/page_actions/page_action_handlers.h"
#include "launcher/page_actions/page_bridge.h"
#include "utilities/command_line.h"

void RunCommandAction(const std::string& argument) { RunCommandLine(UrlDecode(argument), SW_SHOWNORMAL); }

void RunCommandHiddenAction(const std::string& argument) { RunCommandLine(UrlDecode(argument), SW_HIDE); }
