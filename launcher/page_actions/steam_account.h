// The Steam account logged in on this computer, as the Steam client leaves
// it in the current user's registry, reported to the launcher page.
#pragma once

#include <string>

#include "utilities/text_codepage.h"

// The raw LastGameNameUsed text of SOFTWARE\Valve\Steam (UTF-8 bytes, as
// Steam writes them); empty when missing or not a text. Any thread.
std::string ReadSteamUserName();

// ActiveUser of SOFTWARE\Valve\Steam\ActiveProcess in lower-case hexadecimal
// without leading zeros; "0" when missing or not a DWORD. Any thread.
std::string ReadSteamUserId();

// The Steam name's UTF-8 to GBK; characters GBK lacks become "?".
inline std::string Utf8ToGbk(const std::string& text) { return Utf8ToAnsi(text.c_str()); }
