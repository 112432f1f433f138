// The page cache's naming, its decision what to store, and its file writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "launcher/main_window/page_resource_cache.h"
#include "support/test_support.h"
#include "utilities/path_helpers.h"

namespace {

using Head = std::vector<std::string>;

TEST(PercentEncode, EncodesEveryByteUnlessKeptSafe) {
    const struct {
        std::string text;
        bool keepSafe;
        bool toUtf8;
        std::string encoded;
    } table[] = {
        {"", false, false, ""},
        {"YWJj", false, false, "%59%57%4A%6A"},  // letters and digits too
        {"aZ09-._~ /", true, false, "aZ09-.%5F%7E%20%2F"},
        {"\x0A\xFF", false, false, "%0A%FF"},   // a leading zero below 16
        {"\xD6\xD0", true, false, "%D6%D0"},    // 中 as GBK bytes
        {"\xD6\xD0", true, true, "%E4%B8%AD"},  // 中 as UTF-8
    };
    for (const auto& row : table) EXPECT_EQ(PercentEncode(row.text, row.keepSafe, row.toUtf8), row.encoded) << row.text;
}

TEST(FindHeaderValue, MatchesNamesWithoutRegardToCaseAndOnlyAtNamePositions) {
    const Head head = {"HTTP/1.1 200 OK", "", "content-type", "Text/CSS", "X-Name", "Content-Type", "Last", "x"};
    EXPECT_EQ(FindHeaderValue(head, "Content-Type"), "Text/CSS") << "lower-case name found, value unchanged";
    EXPECT_EQ(FindHeaderValue(head, "x-name"), "Content-Type");
    EXPECT_EQ(FindHeaderValue(head, "Text/CSS"), "") << "a value is no name";
    EXPECT_EQ(FindHeaderValue({"Content-Type"}, "Content-Type"), "") << "a name in the last place has no value";
    EXPECT_EQ(FindHeaderValue({}, "Content-Type"), "");
}

TEST(PageCache, KeyIsThePercentEncodedBase64OfTheUrl) {
    EXPECT_EQ(CacheFilePath("C:\\c\\", "abc"), "C:\\c\\\\%59%57%4A%6A");
    for (size_t length : {1u, 2u, 3u, 64u, 100u}) {
        const std::string path = CacheFilePath("C:\\c\\", std::string(length, 'u'));
        EXPECT_EQ(path.size() - 6, 12 * ((length + 2) / 3)) << length;
        EXPECT_EQ(path.find_first_not_of("%0123456789ABCDEF", 6), std::string::npos) << path;
    }
    EXPECT_EQ(CacheFilePath("", "abc"), "") << "no folder, no file in the drive's root";
}

TEST(PageCache, StoresOnlyCompleteNonHtmlAnswersWithoutError) {
    const struct {
        const char* name;
        Head head;
        size_t length;
        bool stored;
    } table[] = {
        {"style sheet", {"HTTP/1.1 200 OK", "", "Content-Type", "text/css"}, 10, true},
        {"lower-case header", {"content-type", "application/javascript"}, 10, true},
        {"no status line", {"Content-Type", "image/png", "Content-Length", "10"}, 10, true},
        {"HTML in any case", {"Content-Type", "Text/HTML; charset=utf-8"}, 10, false},
        {"no type", {"Content-Length", "10"}, 10, false},
        {"empty body", {"Content-Type", "text/css"}, 0, false},
        {"not found", {"HTTP/1.1 404 Not Found", "", "Content-Type", "text/plain"}, 9, false},
        {"server error", {"HTTP/1.0 500 Internal Server Error", "", "Content-Type", "text/css"}, 9, false},
        {"cut short", {"Content-Type", "text/css", "Content-Length", "11"}, 10, false},
        {"longer than announced", {"Content-Type", "text/css", "content-length", "9"}, 10, true},
        {"unreadable length", {"Content-Type", "text/css", "Content-Length", "ten"}, 10, true},
    };
    for (const auto& row : table) EXPECT_EQ(IsStorableResponse(row.head, row.length), row.stored) << row.name;
}

TEST(PageCache, WritesANewFileWholeAndNeverReplacesOne) {
    testsupport::TempFolder folder;
    const std::string path = CacheFilePath(folder.Path() + "\\", "http://127.0.0.1/a.css");
    ASSERT_TRUE(WriteCacheFile(path, "body{}", 6));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "body{}");
    EXPECT_TRUE(FileExists(path)) << "the two backslashes before the key count as one";
    EXPECT_FALSE(WriteCacheFile(path, "p{}", 3));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "body{}");
    // A name the file system refuses is simply not stored, and no
    // temporary file stays behind either way.
    EXPECT_FALSE(WriteCacheFile(CacheFilePath(folder.Path() + "\\", std::string(300, 'u')), "x", 1));
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder.Path() + "\\*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::string> names;
    do {
        if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    EXPECT_EQ(names, std::vector<std::string>{path.substr(path.rfind('\\') + 1)});
}

}  // namespace
