#include "json/json_number_scan.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "utilities/text_number.h"

namespace jsonparse {

bool ScanInteger(const char* run, size_t length, int64_t* value) {
    size_t i = 0;
    if (i < length && (run[i] == '-' || run[i] == '+')) ++i;
    if (i == length || run[i] < '0' || run[i] > '9') return false;
    *value = TextToInteger(std::string_view(run, length));
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
