// The Date kind's conversions: the callers' date-time (days since 1899-12-30,
// taken as UTC) to a calendar time and back, and the "#...#" text form, which
// is the system's internet time format (RFC 1123).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace jsondate {

// Inverse to each other to the millisecond; the day of week is filled in,
// since the internet time formatter trusts it.
SYSTEMTIME DateTimeToSystemTime(double days);
double SystemTimeToDateTime(const SYSTEMTIME& time);

// "Sun, 06 Nov 1994 08:49:37 GMT"; empty when the system formatter refuses.
// The weekday is printed as given: both functions here that make calendar
// times fill it in.
std::string FormatInternetTime(const SYSTEMTIME& time);

// The three HTTP date forms: RFC 1123 (what FormatInternetTime writes), RFC
// 850 (a two-digit year below 70 is 20xx) and asctime, in GMT. False for any
// other text and for a date outside 1601 to 9999 or not in the calendar.
bool ParseInternetTime(std::string_view text, SYSTEMTIME* time);

}  // namespace jsondate
