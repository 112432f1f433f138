// What a "\u" escape appends to a GBK string: the character converted to code
// page 54936 (GB18030), or to 936 where the system lacks 54936 (Wine).
#pragma once

#include <string>

namespace jsonunicode {

// One character given as one UTF-16 unit or as a surrogate pair (low != 0).
void AppendCharacter(std::string& out, wchar_t unit, wchar_t low = 0);

// The code page's own replacement character, for a surrogate half that has no
// partner. (UTF-8's EF BF BD would pair with the next byte in a GBK text.)
void AppendReplacement(std::string& out);

}  // namespace jsonunicode
