#include <gtest/gtest.h>

#include "support/test_support.h"
#include "utilities/text_codepage.h"

using testsupport::Bytes;
using testsupport::Hex;

namespace {

const std::string kGbkChinese = Bytes({0xD6, 0xD0, 0xCE, 0xC4});               // 中文
const std::string kUtf8Chinese = Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87});  // 中文

std::vector<wchar_t> Units(std::initializer_list<wchar_t> units) { return std::vector<wchar_t>(units); }

}  // namespace

TEST(AnsiToUtf8, ConvertsGbkAndKeepsAscii) {
    EXPECT_EQ(Hex(AnsiToUtf8(kGbkChinese)), Hex(kUtf8Chinese));
    EXPECT_EQ(AnsiToUtf8("http://127.0.0.1/a b"), "http://127.0.0.1/a b");
}

TEST(AnsiToUtf8, EmptyTextWithOrWithoutStorageGivesEmptyText) {
    EXPECT_EQ(AnsiToUtf8((const char*)nullptr), "");
    EXPECT_EQ(AnsiToUtf8(""), "");
}

TEST(Utf8ToAnsi, ConvertsUtf8ToGbk) {
    EXPECT_EQ(Hex(Utf8ToAnsi(kUtf8Chinese)), Hex(kGbkChinese));
    EXPECT_EQ(Utf8ToAnsi(std::string_view()), "");
}

TEST(Utf8ToAnsi, EmbeddedZeroByteEndsTheText) { EXPECT_EQ(Utf8ToAnsi(std::string_view("ab\0cd", 5)), "ab"); }

TEST(Utf8ToAnsi, InvalidUtf8BecomesDefaultCharactersNotLostText) {
    // Each byte that starts no valid sequence becomes U+FFFD, which GBK holds as "?".
    EXPECT_EQ(Utf8ToAnsi(Bytes({0x81, 0x81, 0x81, 0x81})), "????");
    EXPECT_EQ(Utf8ToAnsi(Bytes({'a', 0xE4})), "a?");
}

TEST(MultiByteToWide, DefaultsToUtf8) { EXPECT_EQ(MultiByteToWide(kUtf8Chinese.c_str()), Units({0x4E2D, 0x6587, 0})); }

TEST(MultiByteToWide, GivenCodePageGivesExactlyTheUnitsAndTerminator) {
    EXPECT_EQ(MultiByteToWide(kGbkChinese.c_str(), kCodePageGbk), Units({0x4E2D, 0x6587, 0}));
    EXPECT_TRUE(MultiByteToWide(nullptr, kCodePageGbk).empty());
    EXPECT_TRUE(MultiByteToWide("", kCodePageGbk).empty());
}

TEST(MultiByteToWide, SizesByTheRequestedCodePageNotTheSystemOne) {
    // Under 936 these bytes count as fewer characters than they are in the
    // requested code page; sizing by 936 would lose the text.
    EXPECT_EQ(MultiByteToWide(Bytes({0x81, 0x81, 0x81, 0x81}).c_str(), kCodePageUtf8),
              Units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0}));
    EXPECT_EQ(MultiByteToWide(kGbkChinese.c_str(), 1252), Units({0xD6, 0xD0, 0xCE, 0xC4, 0}));
}

TEST(WideToMultiByte, DefaultsToTheSystemAnsiCodePage) {
    EXPECT_EQ(Hex(WideToMultiByte(Units({0x4E2D, 0x6587, 0}))), Hex(kGbkChinese));
}

TEST(WideToMultiByte, SizesByTheRequestedCodePage) {
    // Four UTF-8 bytes for a surrogate pair that 936 writes as far fewer bytes.
    EXPECT_EQ(Hex(WideToMultiByte(Units({0xD83D, 0xDE00, 0}), kCodePageUtf8)), "F0 9F 98 80");
    EXPECT_EQ(Hex(WideToMultiByte(Units({0x4E2D, 0x6587, 0}), kCodePageUtf8)), Hex(kUtf8Chinese));
}

TEST(WideToMultiByte, CharacterTheCodePageCannotHoldBecomesQuestionMark) {
    EXPECT_EQ(WideToMultiByte(Units({'a', 0xD55C, 'b', 0}), kCodePageGbk), "a?b");  // Hangul
    EXPECT_EQ(WideToMultiByte(Units({0x4E2D, 0}), 1252), "?");
}

TEST(WideToMultiByte, EmptyOrUnterminatedBufferIsSafe) {
    EXPECT_EQ(WideToMultiByte(WideBuffer()), "");
    EXPECT_EQ(WideToMultiByte((const wchar_t*)nullptr), "");
    EXPECT_EQ(WideToMultiByte(Units({'o', 'k'}), kCodePageGbk), "ok");
}

TEST(AnsiToWide, ReadsGbk) {
    EXPECT_EQ(AnsiToWide(kGbkChinese.c_str()), Units({0x4E2D, 0x6587, 0}));
    EXPECT_TRUE(AnsiToWide(nullptr).empty());
}

TEST(GuidFromText, ParsesIntoPlatformLayout) {
    GUID guid = GuidFromText("{C02216F6-8C67-4B5B-9D00-D008E73E0064}");
    std::string bytes((const char*)&guid, sizeof guid);
    EXPECT_EQ(Hex(bytes), "F6 16 22 C0 67 8C 5B 4B 9D 00 D0 08 E7 3E 00 64");
}

TEST(GuidFromText, UnparsableTextGivesAllZero) {
    for (const char* text : {"", "not a guid", "{C02216F6-8C67-4B5B-9D00}"}) {
        GUID guid = GuidFromText(text);
        EXPECT_EQ(guid, GUID{}) << text;
    }
}

TEST(GetBytesPointer, EmptyBufferHasNoData) {
    EXPECT_EQ(GetBytesPointer(WideBuffer()), nullptr);
    WideBuffer one{L'x', 0};
    EXPECT_EQ(GetBytesPointer(one), one.data());
    EXPECT_EQ(GetTextPointer((const char*)nullptr), nullptr);
}
