#include "launcher/app/rpc_identity.h"

#include <cstdint>
#include <cstdio>

const char kRpcSecret[] =
    "TCgBecEmb1lN6usLeBatEFvJZrihuZqUGGROWSLvVY8KQYuI4kvUkRYqAU9n"
    "HFsmWxV4NVcDmqiw50KaqfJNy1Ez2UkVvVRo2c0mubxvDn5evOO1KEbMZwQY";

namespace {

// Seconds of a calendar time counted on one continuous scale (FILETIME's).
int64_t CalendarSeconds(const SYSTEMTIME& time) {
    SYSTEMTIME whole = time;
    whole.wMilliseconds = 0;
    FILETIME file{};
    if (!SystemTimeToFileTime(&whole, &file)) return 0;
    uint64_t ticks = ((uint64_t)file.dwHighDateTime << 32) | file.dwLowDateTime;
    return (int64_t)(ticks / 10000000ULL);
}

}  // namespace

int64_t SecondsSinceLocalBase(const SYSTEMTIME& localTime) {
    // The base is local, not UTC: on a UTC+8 machine the result is Unix time.
    SYSTEMTIME base{};
    base.wYear = 1970;
    base.wMonth = 1;
    base.wDay = 1;
    base.wHour = 8;
    return CalendarSeconds(localTime) - CalendarSeconds(base);
}

std::string UnixTimestampTextAt(const SYSTEMTIME& localTime, bool tenDigits) {
    char millis[8];
    snprintf(millis, sizeof millis, "%03u", (unsigned)localTime.wMilliseconds);
    char seconds[32];
    snprintf(seconds, sizeof seconds, "%lld", (long long)SecondsSinceLocalBase(localTime));

    std::string text = std::string(seconds) + millis;
    if (tenDigits) {
        if (text.size() > 10) text.resize(10);
        while (text.size() < 10) text += '0';
    } else {
        while (text.size() < 13) text += '0';
    }
    return text;
}

std::string UnixTimestampText(bool tenDigits) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return UnixTimestampTextAt(now, tenDigits);
}
