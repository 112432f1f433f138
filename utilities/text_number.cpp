#include "utilities/text_number.h"

#include <limits>

int64_t TextToInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const uint64_t limit =
        negative ? (uint64_t)std::numeric_limits<int64_t>::max() + 1 : (uint64_t)std::numeric_limits<int64_t>::max();
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        unsigned digit = (unsigned)(text[i] - '0');
        value = (value > (limit - digit) / 10) ? limit : value * 10 + digit;
    }
    return negative ? (int64_t)(0 - value) : (int64_t)value;
}
