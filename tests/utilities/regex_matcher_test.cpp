#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>

#include "support/test_support.h"
#include "utilities/regex_matcher.h"

using testsupport::Bytes;

namespace {

const std::string kChinese = Bytes({0xD6, 0xD0, 0xCE, 0xC4});  // 中文

// Each test runs the matcher on a thread of its own, as the program's threads
// do, so one test's apartment cannot hide another's imbalance.
template <typename F>
void OnFreshThread(F body) {
    std::thread thread(body);
    thread.join();
}

}  // namespace

TEST(ContainsChineseChar, DetectsCjkIdeographs) {
    OnFreshThread([] {
        EXPECT_FALSE(ContainsChineseChar("C:\\Games\\Launcher"));
        EXPECT_TRUE(ContainsChineseChar("C:\\Games\\" + kChinese + "\\Launcher"));
        EXPECT_TRUE(ContainsChineseChar(Bytes({0x81, 0x5C})));  // 乗, U+4E57
        EXPECT_FALSE(ContainsChineseChar(""));
    });
}

TEST(ContainsChineseChar, LeavesAThreadInAnotherApartmentUsable) {
    OnFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_TRUE(ContainsChineseChar(kChinese));
        // Had the matcher uninitialised COM after its own CoInitialize failed,
        // the thread would have left the apartment and this would fail.
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(L"VBScript.RegExp", &clsid), S_OK);
        IUnknown* object = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&object), S_OK);
        if (object) object->Release();
        CoUninitialize();
    });
}

TEST(RegexMatcher, DefaultsIgnoreCaseAndMatchGlobally) {
    OnFreshThread([] {
        RegexMatcher m;
        ASSERT_TRUE(m.Search("a", "AaA"));
        EXPECT_EQ(m.GetMatchCount(), 3);
        ASSERT_TRUE(m.Search("a", "AaA", true));
        EXPECT_EQ(m.GetMatchCount(), 1);
        ASSERT_TRUE(m.Search("a", "AaA", std::nullopt, std::nullopt, false));
        EXPECT_EQ(m.GetMatchCount(), 1);
        ASSERT_TRUE(m.Search("x", "AaA"));  // finding nothing is still a successful run
        EXPECT_EQ(m.GetMatchCount(), 0);
    });
}

TEST(RegexMatcher, QuotePlaceholderBecomesDoubleQuote) {
    OnFreshThread([] {
        std::string placeholder = Bytes({'#', 0xD2, 0xFD, 0xBA, 0xC5});  // #引号
        RegexMatcher m;
        ASSERT_TRUE(m.Search(placeholder + "(\\w+)" + placeholder, "say \"hi\" now", std::nullopt, std::nullopt,
                             std::nullopt, true));
        EXPECT_EQ(m.GetPattern(), "\"(\\w+)\"");
        EXPECT_EQ(m.GetSubMatch(1, 1), "hi");
        ASSERT_TRUE(m.Search(placeholder, "x"));
        EXPECT_EQ(m.GetPattern(), placeholder);  // left alone when not asked for
    });
}

TEST(RegexMatcher, ReplaceUsesGroupReferences) {
    OnFreshThread([] {
        RegexMatcher m;
        ASSERT_TRUE(m.Search("(\\w+)@(\\w+)", "a@b c@d"));
        EXPECT_EQ(m.Replace(std::string("$2")), "b d");
        EXPECT_EQ(m.Replace(), " ");
    });
}

TEST(RegexMatcher, ReplaceRemovesLineBreaksWithAPatternThatMatchesEmpty) {
    if (testsupport::RunningUnderWine())
        GTEST_SKIP() << "Wine's VBScript.RegExp fails Global=true for patterns that can match the empty "
                        "string; this passes only on Windows";
    OnFreshThread([] {
        RegexMatcher m;
        ASSERT_TRUE(m.Search("\\n*\\r*", "a\r\nb\nc"));
        EXPECT_EQ(m.Replace(), "abc");
    });
}

TEST(RegexMatcher, MatchesAndSubMatchesByNumber) {
    OnFreshThread([] {
        RegexMatcher m;
        ASSERT_TRUE(m.Search("(\\d+)-(\\d+)", "1-2 30-40"));
        EXPECT_EQ(m.GetMatchCount(), 2);
        EXPECT_EQ(m.GetMatch(1), "1-2");
        EXPECT_EQ(m.GetMatch(2), "30-40");
        EXPECT_EQ(m.GetMatch(3), "");
        EXPECT_EQ(m.GetMatch(0), "");
        EXPECT_EQ(m.GetSubMatch(2, 2), "40");
        EXPECT_EQ(m.GetSubMatch(2, 3), "");
        EXPECT_EQ(m.GetSubMatchCount(), 2);
    });
}

TEST(RegexMatcher, PositionsAreByteOffsetsInGbk) {
    OnFreshThread([] {
        RegexMatcher m;
        int position = -1;
        ASSERT_TRUE(m.Search("abc", kChinese + "abc"));
        EXPECT_EQ(m.GetMatch(1, &position), "abc");
        EXPECT_EQ(position, 4);

        // The same text twice after double-byte characters: the second match
        // lies at its own offset, not at the first occurrence.
        ASSERT_TRUE(m.Search("ab", kChinese + "ab ab"));
        EXPECT_EQ(m.GetMatch(2, &position), "ab");
        EXPECT_EQ(position, 7);

        ASSERT_TRUE(m.Search("(b)(c)", kChinese + "abc"));
        EXPECT_EQ(m.GetSubMatch(1, 2, &position), "c");
        EXPECT_EQ(position, 6);
    });
}

TEST(RegexMatcher, InvalidPatternFailsCleanly) {
    OnFreshThread([] {
        RegexMatcher m;
        EXPECT_FALSE(m.Search("(", "abc"));
        EXPECT_EQ(m.GetMatchCount(), 0);
        EXPECT_EQ(m.GetMatch(1), "");
        EXPECT_EQ(m.GetSubMatchCount(), 0);
    });
}

TEST(RegexMatcher, EmptyObjectAnswersEmpty) {
    OnFreshThread([] {
        RegexMatcher m;
        EXPECT_EQ(m.GetPattern(), "");
        EXPECT_EQ(m.GetMatchCount(), 0);
        EXPECT_EQ(m.Replace(), "");
    });
}

TEST(RegexMatcher, CopySharesTheResult) {
    OnFreshThread([] {
        RegexMatcher m;
        ASSERT_TRUE(m.Search("b", "abcb"));
        RegexMatcher copy(m);
        EXPECT_EQ(copy.GetMatchCount(), 2);
        EXPECT_EQ(copy.Replace(std::string("x")), "axcx");
    });
}
