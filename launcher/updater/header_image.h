// The updater window's header picture: a copy in the FiveM folder's
// "launcher_cache", fetched from the service's content host when it is
// missing, empty or more than two hours old, and then shown as the window's
// background. Also the file-time helpers the freshness test uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// Thread routine, started once when the updater window is created.
void RefreshHeaderImage();

// The copy at path, fetched again from url when it is missing, empty, or
// older than two hours at the local time now. Only a whole, non-empty body
// of a successful answer replaces the copy (through a temporary file), so a
// failed fetch keeps a good copy. Returns the bytes of the copy afterwards.
std::string RefreshHeaderCopy(const std::string& path, const std::string& url, const SYSTEMTIME& now);

// Creation, last-write and last-access times of the file as local
// "yyyy-MM-dd HH:mm:ss" texts (a last access at exactly 00:00:00 as the date
// and a blank: file systems that keep only the access day). Non-zero when
// read; 0 when the file cannot be opened, the outputs then unchanged.
int GetFileTimesText(const std::string& path, std::string* creation, std::string* lastWrite, std::string* lastAccess);

// Seconds between the local time 1970-01-01 08:00:00 and dateTime (the local
// time now when not given), followed by its 3 millisecond digits; with
// tenDigits only the first 10 characters of the seconds; with pad the
// seconds padded with "0" on the left to 10 characters.
std::string ToUnixTimestampText(std::optional<SYSTEMTIME> dateTime = std::nullopt,
                                std::optional<bool> tenDigits = std::nullopt, std::optional<bool> pad = std::nullopt);

// Size of the file in bytes; 0 when no file of that name is found.
int64_t GetFileSize64(const std::string& path);
