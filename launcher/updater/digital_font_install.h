// The updater window's seven-segment font: written into the FiveM folder's
// "launcher_cache" from the program's own data, registered with the system
// and given to the speed line, and taken back when the window goes.
#pragma once

#include <string>

// Thread routine, started once when the updater window is created: after
// 2 s, writes the font when it is missing, registers it and gives the speed
// line its face. Nothing happens when the updater window is gone by then,
// or when it went and came again meanwhile (its removal of the font ran).
void InstallDigitalFont();

// Takes back the registration InstallDigitalFont made, wherever the FiveM
// folder is now; without one, that of the font in the FiveM folder.
void RemoveDigitalFont();

// FiveMFolder + "\launcher_cache\font-digtal.ttf".
std::string DigitalFontPath();

// AddFontResourceA's count of fonts added (0 on failure); every program is
// told of the change whatever the result.
int AddFontFile(const std::string& path);

// RemoveFontResourceA's result (non-zero on success); every program is told
// of the change whatever the result.
int RemoveFontFile(const std::string& path);
