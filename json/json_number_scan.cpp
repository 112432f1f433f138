#include "json/json_number_scan.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "utilities/text_number.h"

namespace jsonparse {
namespace {

// Enough significant digits to round any decimal text to its nearest double:
// the halfway points between neighbouring doubles have at most 767. A further
// "1" stands for every non-zero digit dropped after them, so that a text just
// above a halfway point still rounds up. The conversion is then bounded
// however long the run, where converting every digit takes quadratic time.
constexpr size_t kKeptDigits = 800;

// Past this power of ten every kept mantissa (0.1 to 1) is zero or infinite.
constexpr int64_t kExponentLimit = 100000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ScanInteger(const char* run, size_t length, int64_t* value) {
    size_t i = 0;
    if (i < length && (run[i] == '-' || run[i] == '+')) ++i;
    if (i == length || !IsDigit(run[i])) return false;
    *value = TextToInteger(std::string_view(run, length));
    return true;
}

bool ScanDouble(const char* run, size_t length, double* value) {
    // The run is rewritten as "-0.<significant digits>e<power>", the same
    // number with at most kKeptDigits digits, and converted from there.
    char text[kKeptDigits + 32];
    char* out = text;
    size_t i = 0;
    if (i < length && (run[i] == '-' || run[i] == '+')) {
        if (run[i] == '-') *out++ = '-';
        ++i;
    }
    *out++ = '0';
    *out++ = '.';
    char* const firstDigit = out;
    size_t kept = 0;
    bool dropped = false;
    bool anyDigit = false;
    int64_t power = 0;  // where the point goes, counted from before the first significant digit
    auto take = [&](char digit) {
        if (kept < kKeptDigits) {
            *out++ = digit;
            ++kept;
        } else if (digit != '0') {
            dropped = true;
        }
    };
    for (; i < length && IsDigit(run[i]); ++i) {
        anyDigit = true;
        if (kept == 0 && run[i] == '0') continue;  // leading zeros
        take(run[i]);
        ++power;
    }
    if (i < length && run[i] == '.') {
        for (++i; i < length && IsDigit(run[i]); ++i) {
            anyDigit = true;
            if (kept == 0 && run[i] == '0') {
                --power;  // zeros between the point and the first significant digit
                continue;
            }
            take(run[i]);
        }
    }
    if (!anyDigit) return false;
    // An exponent counts only with at least one digit: "1e" and "1e+" read as 1.
    if (i < length && (run[i] == 'e' || run[i] == 'E')) {
        size_t j = i + 1;
        bool negative = false;
        if (j < length && (run[j] == '-' || run[j] == '+')) negative = run[j++] == '-';
        int64_t exponent = 0;
        for (; j < length && IsDigit(run[j]); ++j) {
            if (exponent < 4 * kExponentLimit) exponent = exponent * 10 + (run[j] - '0');
        }
        power += negative ? -exponent : exponent;
    }
    if (kept == 0) {
        out = firstDigit;  // "0." or "-0.": a zero keeps its sign
        *out++ = '0';
    } else {
        if (dropped) *out++ = '1';
        if (power > kExponentLimit) power = kExponentLimit;
        if (power < -kExponentLimit) power = -kExponentLimit;
        out += snprintf(out, text + sizeof text - out, "e%d", static_cast<int>(power));
    }
    *out = '\0';
    // mingw's own conversion, the same digits under Wine and Windows.
    *value = __mingw_strtod(text, nullptr);
    return true;
}

}  // namespace jsonparse
