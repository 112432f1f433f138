#include "launcher/updater/header_image.h"

#include <objidl.h>
// GDI+ needs the COM types of objidl.h first.
#include <gdiplus.h>

#include <cstdio>

#include "launcher/app/globals.h"
#include "launcher/app/rpc_identity.h"
#include "launcher/service/http_get.h"
#include "launcher/service/service_hosts.h"
#include "launcher/updater/startup_window.h"
#include "utilities/gdiplus_image.h"
#include "utilities/path_helpers.h"
#include "utilities/text_codepage.h"
#include "utilities/whole_file.h"
#include "utilities/win_handles.h"

namespace {

constexpr int64_t kFreshSeconds = 7200;

std::string LocalTimeText(const FILETIME& utc, bool dayOnlyAtMidnight) {
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return {};
    char date[255] = {}, clock[255] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, "yyyy-MM-dd", date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, "HH:mm:ss", clock, sizeof clock);
    if (dayOnlyAtMidnight && std::string(clock) == "00:00:00") return std::string(date) + " ";
    return std::string(date) + " " + clock;
}

// "yyyy-MM-dd HH:mm:ss" as a local time; nothing for any other text.
std::optional<SYSTEMTIME> ParseLocalTime(const std::string& text) {
    SYSTEMTIME time{};
    int year, month, day, hour, minute, second;
    char end;
    if (sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &end) != 6)
        return std::nullopt;
    time.wYear = (WORD)year, time.wMonth = (WORD)month, time.wDay = (WORD)day;
    time.wHour = (WORD)hour, time.wMinute = (WORD)minute, time.wSecond = (WORD)second;
    FILETIME check{};
    if (!SystemTimeToFileTime(&time, &check)) return std::nullopt;
    return time;
}

int64_t TenDigitSeconds(const SYSTEMTIME& time) { return _atoi64(ToUnixTimestampText(time, true).c_str()); }

bool CopyIsStale(const std::string& path, const SYSTEMTIME& now) {
    std::string creation, lastWrite, lastAccess;
    GetFileTimesText(path, &creation, &lastWrite, &lastAccess);
    // A copy whose time cannot be read counts as written long ago.
    std::optional<SYSTEMTIME> written = ParseLocalTime(lastWrite);
    if (!written) return true;
    double age = (double)(TenDigitSeconds(*written) + kFreshSeconds) - (double)TenDigitSeconds(now);
    return age < -0.0000001;
}

// Replaces the copy only with a whole, non-empty body of a successful answer.
void FetchCopy(const std::string& path, const std::string& url) {
    int status = 0;
    std::string body = HttpGet(url, &status);
    if (status < 200 || status > 299 || body.empty()) return;
    // Written beside the copy and moved over it: the copy is never half-written.
    WriteWholeFileThrough(path + ".tmp", path, body.data(), body.size(), true);
}

// A bitmap the window can own; null when the bytes are not a picture.
HBITMAP DecodePicture(const std::string& bytes) {
    GdiplusImage image;
    if (!image.LoadFromBytes(bytes)) return nullptr;
    HBITMAP bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(static_cast<Gdiplus::GpBitmap*>(image.GetHandle()), &bitmap,
                                                         0) != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}

}  // namespace

std::string RefreshHeaderCopy(const std::string& path, const std::string& url, const SYSTEMTIME& now) {
    if (!FileExists(path) || CopyIsStale(path, now) || GetFileSize64(path) == 0) FetchCopy(path, url);
    return ReadWholeFile(path);
}

void RefreshHeaderImage() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::string bytes =
        RefreshHeaderCopy(FiveMFolder + "\\launcher_cache\\header.jpg", ContentUrl("/fivem/launcher/header.jpg"), now);
    // Bytes that are no picture leave the window's plain background.
    if (HBITMAP picture = DecodePicture(bytes)) StartupWindow.SetBackgroundPicture(picture);
}

int GetFileTimesText(const std::string& path, std::string* creation, std::string* lastWrite, std::string* lastAccess) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) return 0;
    FILETIME created{}, accessed{}, written{};
    BOOL read = GetFileTime(file.Get(), &created, &accessed, &written);
    if (read) {
        *creation = LocalTimeText(created, false);
        *lastWrite = LocalTimeText(written, false);
        *lastAccess = LocalTimeText(accessed, true);
    }
    return read;
}

std::string ToUnixTimestampText(std::optional<SYSTEMTIME> dateTime, std::optional<bool> tenDigits,
                                std::optional<bool> pad) {
    SYSTEMTIME time{};
    if (dateTime)
        time = *dateTime;
    else
        GetLocalTime(&time);
    char millis[8];
    snprintf(millis, sizeof millis, "%03u", (unsigned)time.wMilliseconds);
    std::string seconds = std::to_string(SecondsSinceLocalBase(time));
    if (pad.value_or(false) && seconds.size() < 10) seconds.insert(0, 10 - seconds.size(), '0');
    if (tenDigits.value_or(false)) return seconds.substr(0, 10);
    return seconds + millis;
}

int64_t GetFileSize64(const std::string& path) {
    WideBuffer wide = MultiByteToWide(path.c_str(), kCodePageGbk);
    if (wide.empty()) return 0;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(wide.data(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return (int64_t)entry.nFileSizeHigh * 4294967296LL + entry.nFileSizeLow;
}
