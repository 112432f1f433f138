// The two values every JSON-RPC request to the download daemon carries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The daemon's secret, given to it at start and sent after "token:".
extern const char kRpcSecret[];

// Milliseconds between 1970-01-01 08:00:00 and the local time, as text: 13
// characters (a longer text kept whole), or with tenDigits the first 10
// characters (whole seconds on a UTC+8 machine).
std::string UnixTimestampText(bool tenDigits);

// Whole seconds between 1970-01-01 08:00:00 local time and localTime.
int64_t SecondsSinceLocalBase(const SYSTEMTIME& localTime);

// The same for a given local time.
std::string UnixTimestampTextAt(const SYSTEMTIME& localTime, bool tenDigits);
