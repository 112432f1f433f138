#include "json/json_number_scan.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace jsonparse {

bool ScanInteger(const char* run, size_t length, int64_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < length && (run[i] == '-' || run[i] == '+')) negative = run[i++] == '-';
    if (i == length || run[i] < '0' || run[i] > '9') return false;
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    for (; i < length && run[i] >= '0' && run[i] <= '9'; ++i) {
        unsigned digit = run[i] - '0';
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    *value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool ScanDouble(const char* run, size_t length, double* value) {
    // strtod wants a terminated text; runs are short.
    char small[64];
    std::string large;
    const char* text = small;
    if (length < sizeof small) {
        memcpy(small, run, length);
        small[length] = '\0';
    } else {
        large.assign(run, length);
        text = large.c_str();
    }
    char* end = nullptr;
    // mingw's own conversion, the same digits under Wine and Windows.
    *value = __mingw_strtod(text, &end);
    return end != text;
}

}  // namespace jsonparse
