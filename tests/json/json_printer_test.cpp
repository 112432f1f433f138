// The printed form: compact layout, escaping of GBK byte strings, numbers,
// and the Date and Binary kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "json/json.h"
#include "support/test_support.h"

using testsupport::Bytes;
using testsupport::Hex;

namespace {

// The printed string without its quotes.
std::string PrintedString(const std::string& bytes) {
    JSON document;
    document.AddItem(bytes);
    std::string text = document.toString();
    return text.substr(2, text.size() - 4);  // ["..."]
}

}  // namespace

TEST(JsonPrinter, EscapesControlBytesQuotesBackslashesAndSlashes) {
    struct Case {
        std::string bytes;
        std::string printed;
    } cases[] = {
        {"\b", "\\b"},
        {"\t", "\\t"},
        {"\n", "\\n"},
        {"\r", "\\r"},
        {"\"", "\\\""},
        {"\\", "\\\\"},
        {"/", "\\/"},
        {"\x0C", "\\u000c"},
        {"\x0B", "\\u000b"},
        {"\x1F", "\\u001f"},
        {"\x01", "\\u0001"},
        {std::string(1, '\0'), "\\u0000"},
        {"'", "'"},
        {"\x7F\x80\xFF", "\x7F\x80\xFF"},
        {"C:\\Games\\FiveM", "C:\\\\Games\\\\FiveM"},
        {"http://127.0.0.1:36510/jsonrpc", "http:\\/\\/127.0.0.1:36510\\/jsonrpc"},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintedString(c.bytes), c.printed) << Hex(c.bytes);
}

TEST(JsonPrinter, ZeroByteInsideAStringDoesNotEndTheText) {
    JSON document;
    ASSERT_TRUE(document.parse(R"(["a\u0000b","c"])"));
    EXPECT_EQ(document.toString(), R"(["a\u0000b","c"])");
}

TEST(JsonPrinter, DoubleByteCharactersAreNeverSplitOrEscaped) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string printed;
    } cases[] = {
        {"ordinary character", Bytes({0xD6, 0xD0}), Bytes({0xD6, 0xD0})},
        {"trail byte 0x5C", Bytes({0x95, 0x5C}), Bytes({0x95, 0x5C})},
        {"trail byte quote", Bytes({0x81, 0x22}), Bytes({0x81, 0x22})},
        {"trail byte slash", Bytes({0x81, 0x2F, '/'}), Bytes({0x81, 0x2F, '\\', '/'})},
        {"lone backslash after a character", Bytes({0xD6, 0xD0, 0x5C}), Bytes({0xD6, 0xD0, 0x5C, 0x5C})},
        {"four-byte character", Bytes({0x81, 0x30, 0x81, 0x2F, '/'}), Bytes({0x81, 0x30, 0x81, 0x2F, '\\', '/'})},
        // A lead byte with no byte after it would take the closing quote.
        {"lead byte at the end", Bytes({'a', 0x81}), "a\\udc81"},
        {"last byte 0xFE", Bytes({0xFE}), "\\udcfe"},
        {"four-byte character cut short", Bytes({0x81, 0x30, 0x81}), Bytes({0x81, 0x30}) + "\\udc81"},
        {"four-byte character at the end", Bytes({0x81, 0x30, 0x81, 0x30}), Bytes({0x81, 0x30, 0x81, 0x30})},
        {"0x80 and 0xFF are no lead bytes", Bytes({'a', 0x80, 0xFF}), Bytes({'a', 0x80, 0xFF})},
        // Not a four-byte character: the quote after the digit-range byte is
        // escaped, so it cannot end the string.
        {"digit trail then quote", Bytes({0x81, 0x30, 0x22, 'x'}), Bytes({0x81, 0x30, '\\', 0x22, 'x'})},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(PrintedString(c.bytes)), Hex(c.printed)) << c.name;
}

TEST(JsonPrinter, KeysAreEscapedLikeStrings) {
    JSON document;
    document.SetProperty("a/b\\c", 1);
    document.SetProperty(Bytes({0x95, 0x5C}), 2);
    EXPECT_EQ(Hex(document.toString()), Hex(R"({"a\/b\\c":1,")" + Bytes({0x95, 0x5C}) + R"(":2})"));
}

TEST(JsonPrinter, DoublesHaveSixDecimalsAndNoExponent) {
    struct Case {
        double value;
        const char* printed;
    } cases[] = {
        {2.5, "2.500000"},
        {100.0, "100.000000"},
        {-0.1, "-0.100000"},
        {0.0000004, "0.000000"},
        {0.0000006, "0.000001"},
        {1e20, "100000000000000000000.000000"},
        {123456.7890126, "123456.789013"},
        {std::numeric_limits<double>::infinity(), "null"},
        {std::nan(""), "null"},
    };
    for (const Case& c : cases) {
        JSON document;
        document.AddItem(c.value);
        EXPECT_EQ(document.toString(), std::string("[") + c.printed + "]") << c.value;
    }
    JSON huge;
    huge.AddItem(1e300);
    EXPECT_EQ(huge.toString().size(), 2u + 301 + 7);
}

TEST(JsonPrinter, IntegersPrintInDecimal) {
    JSON document;
    document.AddItem(0, -1, 2147483647, -2147483647 - 1, 9223372036854775807LL, -9223372036854775807LL - 1);
    EXPECT_EQ(document.toString(), "[0,-1,2147483647,-2147483648,9223372036854775807,-9223372036854775808]");
}

TEST(JsonPrinter, NestedDocumentHasNoBlanks) {
    JSON document;
    document.SetProperty("a", 1);
    JSON list;
    list.AddItem(true, nullptr, "x");
    JSON inner;
    inner.SetType(JSONType::Object);
    list.AddItem(inner);
    JSON emptyList;
    emptyList.SetType(JSONType::Array);
    list.AddItem(emptyList);
    document.SetProperty("list", list);
    document.SetProperty("", "empty key");
    EXPECT_EQ(document.toString(), R"({"a":1,"list":[true,null,"x",{},[]],"":"empty key"})");
}

TEST(JsonPrinter, BinaryPrintsAsBase64InAngleBrackets) {
    struct Case {
        std::string bytes;
        const char* printed;
    } cases[] = {
        {"", "<>"},        {"f", "<Zg==>"},        {"fo", "<Zm8=>"},
        {"foo", "<Zm9v>"}, {"foob", "<Zm9vYg==>"}, {Bytes({0xFB, 0xFF, 0xBF}), "<+/+/>"},
    };
    for (const Case& c : cases) {
        JSON document;
        document.AddItem(JsonBytes{c.bytes});
        EXPECT_EQ(document.toString(), std::string("[") + c.printed + "]") << Hex(c.bytes);
    }
}

TEST(JsonPrinter, PrintedRequestMatchesTheDaemonShape) {
    JSON params;
    params.AddItem("token:x");
    JSON request;
    request.SetProperty("jsonrpc", "2.0");
    request.SetProperty("method", "aria2.addUri");
    request.SetProperty("id", "1733560000000");
    request.SetProperty("params", params);
    JSON uris;
    uris.AddItem("http://127.0.0.1:36598/temp-client.zip");
    JSON options;
    options.SetProperty("out", "temp-client.zip");
    options.SetProperty("dir", "Z:\\tmp\\dl");
    options.SetProperty("split", "4");
    request.GetJsonProperty("params").AddItem(uris, options);
    EXPECT_EQ(
        request.toString(),
        R"({"jsonrpc":"2.0","method":"aria2.addUri","id":"1733560000000","params":["token:x",)"
        R"(["http:\/\/127.0.0.1:36598\/temp-client.zip"],{"out":"temp-client.zip","dir":"Z:\\tmp\\dl","split":"4"}]})");
}
