// The program's text-to-integer rule: the leading decimal integer of a text.
#pragma once

#include <cstdint>
#include <string_view>

// White space skipped, one sign allowed, digits up to the first other
// character; 0 when the text does not begin with a number. Too many digits
// hold at the ends of the 64-bit range rather than wrap into another number.
int64_t TextToInteger(std::string_view text);

// The value of one hexadecimal digit, either case; -1 for any other byte.
inline int HexDigitValue(unsigned char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}
