// The remove-border patch ("去边界补丁"): a player tunables file that lifts
// the game's world limits, carried inside the launcher as a zip archive.
#pragma once

#include <string>

// Writes the archive to the FiveM folder as "removeBorder.zip" (it stays
// there) and unpacks it over the folder; tells the page how that went. UI
// thread.
void InstallRemoveBorder();

// The zip unit: extracts every entry of zipPath below folder, overwriting.
// 1 on success; 0 when the file is no zip archive or is damaged, -1 when it
// names a place outside the folder.
int ZipUnitExtract(const std::string& zipPath, const std::string& folder);
