#include "json/json_date.h"

#include <wininet.h>

#include <cmath>
#include <cstdint>

#include "utilities/text_search.h"

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
// month is 1 to 12.
int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsSoundCalendarTime(const SYSTEMTIME& time) {
    return time.wYear >= 1601 && time.wYear <= 9999 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= DaysInMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

// The three date forms of HTTP, read field by field:
//   "Sun, 06 Nov 1994 08:49:37 GMT"   (RFC 1123, what the printer writes)
//   "Sunday, 06-Nov-94 08:49:37 GMT"  (RFC 850)
//   "Sun Nov  6 08:49:37 1994"        (asctime)
// The system's own reader cannot decide this: under Wine it takes any text,
// fills what it does not find with the current time, and misreads the last
// two forms. Names are matched ignoring case; the weekday is not checked
// against the date.
class HttpDateReader {
public:
    explicit HttpDateReader(std::string_view text) : text_(text) {}

    bool Read(SYSTEMTIME* time) {
        int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
        SkipBlanks();
        if (!Weekday()) return false;
        if (Char(',')) {
            SkipBlanks();
            if (!Number(1, 2, &day)) return false;
            if (Char('-')) {
                int digits = 0;
                if (!Month(&month) || !Char('-') || !Number(2, 4, &year, &digits) || digits == 3) return false;
                if (digits == 2) year += year < 70 ? 2000 : 1900;
            } else if (!Blanks() || !Month(&month) || !Blanks() || !Number(4, 4, &year)) {
                return false;
            }
            if (!Blanks() || !Time(&hour, &minute, &second) || !Blanks() || !Word("gmt")) return false;
        } else if (!Blanks() || !Month(&month) || !Blanks() || !Number(1, 2, &day) || !Blanks() ||
                   !Time(&hour, &minute, &second) || !Blanks() || !Number(4, 4, &year)) {
            return false;
        }
        SkipBlanks();
        if (at_ != text_.size()) return false;
        if (year < 1601 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59) {
            return false;
        }
        time->wYear = static_cast<WORD>(year);
        time->wMonth = static_cast<WORD>(month);
        time->wDay = static_cast<WORD>(day);
        time->wHour = static_cast<WORD>(hour);
        time->wMinute = static_cast<WORD>(minute);
        time->wSecond = static_cast<WORD>(second);
        return true;
    }

private:
    bool More() const { return at_ < text_.size(); }
    void SkipBlanks() {
        while (More() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
    }
    bool Blanks() {
        const size_t start = at_;
        SkipBlanks();
        return at_ > start;
    }
    bool Char(char c) {
        if (!More() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    // A run of minDigits to maxDigits decimal digits, not followed by another.
    bool Number(int minDigits, int maxDigits, int* value, int* digits = nullptr) {
        int count = 0;
        *value = 0;
        while (More() && text_[at_] >= '0' && text_[at_] <= '9') {
            if (++count > maxDigits) return false;
            *value = *value * 10 + (text_[at_++] - '0');
        }
        if (digits) *digits = count;
        return count >= minDigits;
    }

    bool Time(int* hour, int* minute, int* second) {
        return Number(2, 2, hour) && Char(':') && Number(2, 2, minute) && Char(':') && Number(2, 2, second);
    }

    // The whole run of ASCII letters here, equal to the lower-case word.
    bool Word(std::string_view word) {
        size_t end = at_;
        while (end < text_.size() && (text_[end] | 0x20) >= 'a' && (text_[end] | 0x20) <= 'z') ++end;
        if (!EqualsIgnoringAsciiCase(text_.substr(at_, end - at_), word)) return false;
        at_ = end;
        return true;
    }

    bool Weekday() {
        static const char* const kDays[] = {"sun",       "mon",      "tue",    "wed",     "thu",
                                            "fri",       "sat",      "sunday", "monday",  "tuesday",
                                            "wednesday", "thursday", "friday", "saturday"};
        for (const char* name : kDays) {
            if (Word(name)) return true;
        }
        return false;
    }

    bool Month(int* month) {
        static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
        for (int i = 0; i < 12; ++i) {
            if (Word(kMonths[i])) {
                *month = i + 1;
                return true;
            }
        }
        return false;
    }

    std::string_view text_;
    size_t at_ = 0;
};

bool ReadHttpDate(std::string_view text, SYSTEMTIME* time) { return HttpDateReader(text).Read(time); }

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
    *time = SYSTEMTIME{};
    if (!ReadHttpDate(text, time)) return false;
    time->wDayOfWeek = DayOfWeek(DaysFromCivil(time->wYear, time->wMonth, time->wDay));
    return true;
}

}  // namespace jsondate
