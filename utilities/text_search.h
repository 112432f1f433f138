// Searching GBK texts by byte position, never starting inside a double-byte
// character (whose trail byte may look like an ASCII letter or "\").
#pragma once

#include <string_view>

// True when byte c starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// True when byte c can end a double-byte GBK character.
inline bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

inline bool IsAsciiLetterOrDigit(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
// True when every byte of text is an ASCII letter, a digit or one of the
// bytes of extra; true for the empty text.
inline bool IsAsciiWord(std::string_view text, std::string_view extra) {
    for (unsigned char c : text)
        if (!IsAsciiLetterOrDigit(c) && extra.find(char(c)) == std::string_view::npos) return false;
    return true;
}

// Offset of the character after the one that starts at byte offset at; a
// lead byte at the very end stands alone.
size_t NextGbkCharacter(std::string_view text, size_t at);

// True when a and b are the same but for the case of ASCII letters (texts
// of ASCII such as header names).
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

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
