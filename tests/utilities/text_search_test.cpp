#include <gtest/gtest.h>

#include "support/test_support.h"
#include "utilities/text_search.h"

using testsupport::Bytes;

TEST(FindText, FindsByOneBasedBytePosition) {
    struct Case {
        std::string text, needle;
        int start;
        bool ignoreCase;
        int expected;
    } cases[] = {
        {"abcabc", "abc", 1, false, 1},  {"abcabc", "abc", 2, false, 4},
        {"abcabc", "abc", 0, false, 1},  // a start below 1 counts as 1
        {"abcabc", "abd", 1, false, -1}, {"ABC", "abc", 1, false, -1},
        {"xABC", "abc", 1, true, 2},     {"abc", "", 1, false, -1},
        {"ab", "abc", 1, false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindText(c.text, c.needle, c.start, c.ignoreCase), c.expected) << c.text << " / " << c.needle;
}

TEST(FindText, NeverMatchesInsideADoubleByteCharacter) {
    // 乗 is 81 5C: its trail byte is "\" and must not be found as one.
    std::string text = Bytes({0x81, 0x5C, 'a', '\\'});
    EXPECT_EQ(FindText(text, "\\"), 4);
    // D6 D0 CE C4 (中文): "\xD0\xCE" straddles two characters.
    EXPECT_EQ(FindText(Bytes({0xD6, 0xD0, 0xCE, 0xC4}), Bytes({0xD0, 0xCE})), -1);
    // Starting on a trail byte moves on to the next character start.
    EXPECT_EQ(FindText(Bytes({0xD6, 0xD0, 'a', 'b', 'c'}), "abc", 2), 3);
}

TEST(FindText, IgnoringCaseLeavesTrailBytesAlone) {
    // 81 41 is one character; its trail byte "A" must not match "a".
    EXPECT_EQ(FindText(Bytes({0x81, 0x41}), Bytes({0x81, 0x61}), 1, true), -1);
}

TEST(EndsWithChar, LooksAtTheLastCharacterNotTheLastByte) {
    EXPECT_TRUE(EndsWithChar("C:\\a\\", '\\'));
    EXPECT_FALSE(EndsWithChar("C:\\a", '\\'));
    EXPECT_FALSE(EndsWithChar(Bytes({'C', ':', '\\', 0x81, 0x5C}), '\\'));
    EXPECT_TRUE(EndsWithChar(Bytes({0x81, 0x5C, '\\'}), '\\'));
    EXPECT_FALSE(EndsWithChar("", '\\'));
}

TEST(FindLastChar, SkipsTrailBytesOfTheSameValue) {
    EXPECT_EQ(FindLastChar("a\\b\\c", '\\'), 3u);
    EXPECT_EQ(FindLastChar(Bytes({'a', '\\', 0x81, 0x5C}), '\\'), 1u);
    EXPECT_EQ(FindLastChar(Bytes({0x81, 0x5C}), '\\'), std::string_view::npos);
    EXPECT_EQ(FindLastChar("", '\\'), std::string_view::npos);
}
