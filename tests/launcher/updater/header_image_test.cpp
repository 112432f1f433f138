// The header picture's cache: its freshness at the two-hour limit, what a
// failed fetch leaves behind, the file-time helpers, and the picture's way
// to the updater window.
#include <memory>
#include <string>
#include <vector>

#include "launcher/updater/header_image.h"
#include "support/test_http_server.h"
#include "updater_window_fixture.h"
#include "utilities/path_helpers.h"
#include "utilities/whole_file.h"

namespace {

using testsupport::TempFolder;

SYSTEMTIME Local(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD millis = 0) {
    SYSTEMTIME t{};
    t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
    t.wMilliseconds = millis;
    return t;
}

// Sets the file's last-write time to a local time, secondsBefore it.
void SetLastWrite(const std::string& path, SYSTEMTIME localTime, int64_t secondsBefore = 0, bool accessToo = false) {
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&localTime, &local);
    ULARGE_INTEGER ticks{{local.dwLowDateTime, local.dwHighDateTime}};
    ticks.QuadPart -= (ULONGLONG)(secondsBefore * 10000000LL);
    local = {ticks.LowPart, ticks.HighPart};
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, accessToo ? &utc : nullptr, &utc);
    CloseHandle(file);
}

TEST(ToUnixTimestampText, CountsSecondsFromTheLocalBaseAndCutsOrPads) {
    const struct {
        SYSTEMTIME time;
        std::optional<bool> tenDigits, pad;
        const char* text;
    } table[] = {
        {Local(2026, 12, 7, 20, 30, 15, 45), std::nullopt, std::nullopt, "1796646615045"},
        {Local(2026, 12, 7, 20, 30, 15, 45), true, std::nullopt, "1796646615"},
        {Local(1999, 1, 2, 3, 4, 5, 7), std::nullopt, std::nullopt, "915217445007"},
        {Local(1999, 1, 2, 3, 4, 5, 7), std::nullopt, true, "0915217445007"},
        {Local(1999, 1, 2, 3, 4, 5, 7), true, true, "0915217445"},
        {Local(1970, 1, 1, 8, 0, 0, 7), std::nullopt, std::nullopt, "0007"},
        {Local(1970, 1, 1, 8, 0, 0, 7), true, std::nullopt, "0"},
    };
    for (const auto& row : table)
        EXPECT_EQ(ToUnixTimestampText(row.time, row.tenDigits, row.pad), row.text) << row.text;
}

TEST(FileHelpers, TimesAsLocalTextsAndSizesByDirectoryEntry) {
    TempFolder folder;
    // "头图.jpg": the size is looked up by its GBK name.
    const std::string path = folder.File("\xCD\xB7\xCD\xBC.jpg");
    ASSERT_TRUE(WriteWholeFile(path, std::string(70000, 'x')));
    SetLastWrite(path, Local(2025, 3, 4, 5, 6, 7));
    std::string creation, lastWrite, lastAccess;
    EXPECT_NE(GetFileTimesText(path, &creation, &lastWrite, &lastAccess), 0);
    EXPECT_EQ(lastWrite, "2025-03-04 05:06:07");
    SetLastWrite(path, Local(2025, 3, 4, 0, 0, 0), 0, true);
    GetFileTimesText(path, &creation, &lastWrite, &lastAccess);
    EXPECT_EQ(lastAccess, "2025-03-04 ") << "an access at midnight is a day only";
    EXPECT_EQ(GetFileSize64(path), 70000);

    std::string untouched = "unchanged";
    EXPECT_EQ(GetFileTimesText(folder.File("missing.jpg"), &untouched, &untouched, &untouched), 0);
    EXPECT_EQ(untouched, "unchanged");
    EXPECT_EQ(GetFileSize64(folder.File("missing.jpg")), 0);
    EXPECT_EQ(GetFileSize64(folder.Path() + "\\"), 0);
}

struct CacheCase {
    const char* name;
    const char* cached;  // null: no copy
    int64_t age;         // seconds between the copy's last write and now
    int status;          // the service's answer; 0: nobody listens
    const char* served;
    size_t gets;
    const char* afterwards;  // null: still no copy
};

TEST(RefreshHeaderCopy, FetchesAMissingEmptyOrStaleCopyAndKeepsAGoodOneOnFailure) {
    const CacheCase cases[] = {
        {"no copy", nullptr, 0, 200, "new picture", 1, "new picture"},
        {"exactly two hours old", "old picture", 7200, 200, "new picture", 0, "old picture"},
        {"a second older", "old picture", 7201, 200, "new picture", 1, "new picture"},
        {"empty but fresh", "", 10, 200, "new picture", 1, "new picture"},
        {"written in the future", "old picture", -3600, 200, "new picture", 0, "old picture"},
        {"error answer", "good picture", 9000, 404, "not found", 1, "good picture"},
        {"empty answer", "good picture", 9000, 200, "", 1, "good picture"},
        {"service unreachable", "good picture", 9000, 0, "", 0, "good picture"},
        {"no copy, service unreachable", nullptr, 0, 0, "", 0, nullptr},
    };
    SYSTEMTIME now{};
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    for (const CacheCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.File("header.jpg");
        if (c.cached) {
            ASSERT_TRUE(WriteWholeFile(path, c.cached));
            SetLastWrite(path, now, c.age);
        }
        auto answer = [&](const ReceivedRequest&) {
            std::string body = c.served;
            return "HTTP/1.0 " + std::to_string(c.status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body;
        };
        std::unique_ptr<FakeHttpServer> server;
        int port = 0;
        if (c.status) {
            server = std::make_unique<FakeHttpServer>(0, nullptr);
            server->SetRawReply(answer);
            port = server->port();
        } else {
            // The port of a server that is gone: nobody listens there.
            port = FakeHttpServer(0, nullptr).port();
        }
        const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/fivem/launcher/header.jpg";
        std::string bytes = RefreshHeaderCopy(path, url, now);
        if (server) {
            ASSERT_EQ(server->requests().size(), c.gets);
            if (c.gets) {
                EXPECT_EQ(server->requests()[0].requestLine, "GET /fivem/launcher/header.jpg HTTP/1.0");
            }
        }
        if (c.afterwards) {
            EXPECT_EQ(ReadWholeFile(path), c.afterwards);
            EXPECT_EQ(bytes, c.afterwards);
        } else {
            EXPECT_FALSE(FileExists(path));
            EXPECT_EQ(bytes, "");
        }
        EXPECT_FALSE(FileExists(path + ".tmp"));
    }
}

class HeaderImage : public UpdaterWindowTest {};

TEST_F(HeaderImage, FreshCopyBecomesTheWindowsBackgroundFromTheWorker) {
    const std::string cache = FiveMFolder + "\\launcher_cache";
    ASSERT_TRUE(EnsureDirectory(cache));
    ASSERT_TRUE(
        WriteWholeFile(cache + "\\header.jpg", testsupport::ReadFileBytes(testsupport::BinDir() + "\\header.jpg")));
    ASSERT_EQ(StartupWindow.BackgroundPicture(), nullptr);
    testsupport::WhileServicing(RefreshHeaderImage);
    ASSERT_TRUE(testsupport::ServiceUntil([] { return StartupWindow.BackgroundPicture() != nullptr; }, 5000));
    BITMAP info{};
    GetObjectA(StartupWindow.BackgroundPicture(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 960);
    EXPECT_EQ(info.bmHeight, 540);
}

}  // namespace
