// The program's text-to-integer rule: the leading decimal integer of a text.
#pragma once

#include <cstdint>
#include <string_view>

// White space skipped, one sign allowed, digits up to the first other
// character; 0 when the text does not begin with a number. Too many digits
// hold at the ends of the 64-bit range rather than wrap into another number.
int64_t TextToInteger(std::string_view text);
