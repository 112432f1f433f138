// Switching an add-on or mod archive off and on: the page names the file,
// and the launcher moves it between the kind's folder and its "-disabled"
// twin, then lists the kind again.
#pragma once

#include <string>

#include "launcher/page_actions/addon_lists.h"

// The system's MoveFileA; it fails when to exists or from is missing, and
// the result is not looked at: the refilled table shows where the file is.
void MoveFilePath(const std::string& from, const std::string& to);

// Makes the target folder (one level), moves the file into it and refills
// the kind's table; a name that is not plain (IsPlainFileName) moves and makes nothing, and
// the table is refilled all the same. UI thread.
void SwitchFile(const FileListKind& kind, const std::string& name, bool disable);
