// Whether a program runs, by its file name: the game watch, the game start
// and the tray exit ask for "FiveM.exe".
#pragma once

#include <string>

// True when a process of that executable name runs (case-insensitive).
bool FindProcessByName(const std::string& name);
