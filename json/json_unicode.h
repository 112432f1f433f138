// What a "\u" escape appends to a GBK string: the character converted to code
// page 54936 (GB18030), or to 936 where the system lacks 54936 (Wine).
#pragma once

#include <string>

namespace jsonunicode {

// A lead byte that ends a string has no character to belong to, and written
// raw it would take the closing quote as its second byte. It travels as the
// lone low surrogate U+DC00 + byte instead (no character maps to those
// units), and the reader turns U+DC80 to U+DCFF back into the one byte.
constexpr unsigned kLoneByteUnitBase = 0xDC00;
inline bool IsLoneByteUnit(unsigned unit) {
    return unit >= kLoneByteUnitBase + 0x80 && unit <= kLoneByteUnitBase + 0xFF;
}

// One character given as one UTF-16 unit or as a surrogate pair (low != 0).
void AppendCharacter(std::string& out, wchar_t unit, wchar_t low = 0);

// The code page's own replacement character, for a surrogate half that has no
// partner. (UTF-8's EF BF BD would pair with the next byte in a GBK text.)
void AppendReplacement(std::string& out);

}  // namespace jsonunicode
