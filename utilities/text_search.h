// Searching GBK texts by byte position, never starting inside a double-byte
// character (whose trail byte may look like an ASCII letter or "\").
#pragma once

#include <string_view>

// True when byte c starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// 1-based byte position of the first occurrence of needle in text that begins
// at a character start at or after position start (below 1 counts as 1);
// -1 when there is none. ignoreCase folds ASCII letters only.
int FindText(std::string_view text, std::string_view needle, int start = 1, bool ignoreCase = false);

// True when the last character of text (not merely its last byte, which may
// be the trail byte of a double-byte character) is the ASCII character c.
bool EndsWithChar(std::string_view text, char c);

// 0-based byte offset of the last character of text that is the ASCII
// character c (never a trail byte of the same value); npos when none.
size_t FindLastChar(std::string_view text, char c);
