#include "json/json_date.h"

#include <wininet.h>

#include <cmath>
#include <cstdint>

namespace jsondate {
namespace {

constexpr int64_t kMillisecondsPerDay = 86400000;

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    *month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    *year = static_cast<int64_t>(yearOfEra) + era * 400 + (*month <= 2);
}

const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// The range of the system's calendar times: 1601-01-01 to 9999-12-31.
constexpr double kFirstDay = -109205.0;
constexpr double kLastDay = 2958465.0 + (kMillisecondsPerDay - 1) / double(kMillisecondsPerDay);

WORD DayOfWeek(int64_t unixDays) {
    return static_cast<WORD>(((unixDays % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday (4)
}

// The internet time functions index tables by month and weekday and trust
// both (Wine's crash on a month of 0), so only sound calendar times reach them.
bool IsSoundCalendarTime(const SYSTEMTIME& time) {
    static const int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return time.wYear >= 1601 && time.wYear <= 9999 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= kDaysInMonth[time.wMonth - 1] && time.wHour < 24 && time.wMinute < 60 && time.wSecond < 60 &&
           time.wMilliseconds < 1000;
}

}  // namespace

// The date-time counts whole days from the epoch with the time of day as the
// fraction's magnitude, also before the epoch (-1.25 is 1899-12-29 06:00).
SYSTEMTIME DateTimeToSystemTime(double days) {
    SYSTEMTIME time = {};
    // Outside the system's calendar the date is held at its ends; not a number is the epoch.
    if (std::isnan(days)) days = 0.0;
    if (days < kFirstDay) days = kFirstDay;
    if (days > kLastDay) days = kLastDay;
    double whole = std::trunc(days);
    int64_t dayNumber = static_cast<int64_t>(whole);
    int64_t milliseconds = std::llround(std::fabs(days - whole) * kMillisecondsPerDay);
    if (milliseconds >= kMillisecondsPerDay) {
        milliseconds -= kMillisecondsPerDay;
        ++dayNumber;  // the next calendar day, also before the epoch
    }
    int64_t year;
    unsigned month, day;
    int64_t unixDays = kEpochDays + dayNumber;
    CivilFromDays(unixDays, &year, &month, &day);
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = DayOfWeek(unixDays);
    time.wHour = static_cast<WORD>(milliseconds / 3600000);
    time.wMinute = static_cast<WORD>(milliseconds / 60000 % 60);
    time.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
    time.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
    return time;
}

double SystemTimeToDateTime(const SYSTEMTIME& time) {
    int64_t dayNumber = DaysFromCivil(time.wYear, time.wMonth, time.wDay) - kEpochDays;
    double fraction = (time.wHour * 3600000.0 + time.wMinute * 60000.0 + time.wSecond * 1000.0 + time.wMilliseconds) /
                      kMillisecondsPerDay;
    return dayNumber < 0 ? dayNumber - fraction : dayNumber + fraction;
}

std::string FormatInternetTime(const SYSTEMTIME& time) {
    if (!IsSoundCalendarTime(time)) return {};
    char text[INTERNET_RFC1123_BUFSIZE + 8] = {};
    if (!InternetTimeFromSystemTimeA(&time, INTERNET_RFC1123_FORMAT, text, sizeof text)) return {};
    return text;
}

bool ParseInternetTime(std::string_view text, SYSTEMTIME* time) {
    std::string zeroEnded(text);
    *time = SYSTEMTIME{};
    if (!InternetTimeToSystemTimeA(zeroEnded.c_str(), time, 0) || !IsSoundCalendarTime(*time)) return false;
    // The parser may leave the weekday as the text claimed it; the printer trusts it.
    time->wDayOfWeek = DayOfWeek(DaysFromCivil(time->wYear, time->wMonth, time->wDay));
    return true;
}

}  // namespace jsondate
