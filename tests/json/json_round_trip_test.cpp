// Printing and parsing are inverse: every kind survives print, parse, print,
// and widened texts settle on one printed form.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>

#include "json/json.h"
#include "json_test_helpers.h"
#include "support/test_support.h"

using jsontest::KindOf;
using jsontest::Reprinted;
using testsupport::Bytes;
using testsupport::Hex;

TEST(JsonRoundTrip, EveryKindSurvivesPrintAndParse) {
    std::string allControlBytes;
    for (int b = 0; b < 0x20; ++b) allControlBytes += static_cast<char>(b);
    const std::string gbk = Bytes({0xD6, 0xD0, 0xCE, 0xC4, 0x95, 0x5C, 0x81, 0x22, 0x81, 0x30, 0x81, 0x30});
    const JsonBytes binary{Bytes({0x00, 0x01, 0xFE, 0xFF, '<', '>'})};
    JSON emptyObject, emptyArray, nested;
    emptyObject.SetType(JSONType::Object);
    emptyArray.SetType(JSONType::Array);
    nested.AddItem(1, "x", nullptr);
    nested.AddItem(emptyObject);

    struct Case {
        const char* name;
        JsonArgument value;
        int kindAfter;  // the kind the printed text reads back as
    } cases[] = {
        {"true", true, JSONType::Boolean},
        {"false", false, JSONType::Boolean},
        {"double", -1234.125, JSONType::Double},
        {"whole double", 100.0, JSONType::Double},
        {"integer", 2147483646, JSONType::Integer},
        {"negative integer", -5, JSONType::Long},  // only 0..2147483646 read back as Integer
        {"long", 9223372036854775807LL, JSONType::Long},
        {"small long", 7LL, JSONType::Integer},
        {"text", "plain", JSONType::String},
        {"escapes", "\"\\/\b\t\n\r\f'", JSONType::String},
        {"control bytes", allControlBytes, JSONType::String},
        {"gbk", gbk, JSONType::String},
        {"path", "C:\\Program Files\\FiveM\\FiveM.app", JSONType::String},
        {"empty text", "", JSONType::String},
        {"date", JsonDateTime{45000.5}, JSONType::Date},
        {"binary", binary, JSONType::Binary},
        {"empty binary", JsonBytes{}, JSONType::Binary},
        {"object", emptyObject, JSONType::Object},
        {"array", emptyArray, JSONType::Array},
        {"nested", nested, JSONType::Array},
        {"null", nullptr, JSONType::Null},
    };
    for (const Case& c : cases) {
        JSON document;
        document.SetProperty(c.name, c.value);
        const std::string printed = document.toString();
        JSON reread;
        ASSERT_TRUE(reread.parse(printed)) << c.name << ": " << printed;
        EXPECT_EQ(reread.toString(), printed) << c.name;
        EXPECT_EQ(KindOf(reread.GetJsonProperty(c.name)), c.kindAfter) << c.name;
        JsonValue before = document.GetProperty(c.name);
        JsonValue after = reread.GetProperty(c.name);
        EXPECT_EQ(after.text, before.text) << c.name;
        EXPECT_EQ(after.boolean, before.boolean) << c.name;
        EXPECT_EQ(after.number, before.number) << c.name;
    }
}

// A last byte that is a lead byte has no second byte; as a key or a value it
// still reads back as the same bytes, whether a caller set it or it came in
// through an unquoted key or an escape.
TEST(JsonRoundTrip, TextsEndingInALeadByteReadBack) {
    const std::string set[] = {
        "ab\x81",
        "\xFE",
        Bytes({0xD6, 0xD0, 0xD6}),
        Bytes({0x81, 0x30, 0x81}),
        Bytes({0x81, 0x30, 0x81, 0x30, 0x81}),
        "a\\\x81",
        "\x22\x81",
    };
    for (const std::string& text : set) {
        JSON document;
        document.SetProperty(text, text);
        document.SetProperty("after", 1);
        const std::string printed = document.toString();
        JSON reread;
        ASSERT_TRUE(reread.parse(printed)) << Hex(printed);
        EXPECT_EQ(Hex(reread.toString()), Hex(printed));
        EXPECT_EQ(Hex(reread.GetProperty(text).text), Hex(text)) << Hex(printed);
        EXPECT_EQ(reread.GetProperty("after").integer, 1) << Hex(printed);
    }
    struct Read {
        const char* text;
        std::string key;
        std::string value;
    } read[] = {
        {"{\x81:1}", "\x81", ""},
        {"{\x81\x30\x81 : 'x'}", Bytes({0x81, 0x30, 0x81}), "x"},
        {R"({"\udc81":"a\udcfe"})", "\x81", "a\xFE"},
        {R"({"k":"\udc81\u0022"})", "k", "\x81\x22"},  // the byte pairs with a later quote
    };
    for (const Read& c : read) {
        JSON document;
        ASSERT_TRUE(document.parse(c.text)) << c.text;
        ASSERT_TRUE(document.KeyExists(c.key)) << c.text;
        if (!c.value.empty()) {
            EXPECT_EQ(Hex(document.GetProperty(c.key).text), Hex(c.value)) << c.text;
        }
        const std::string printed = document.toString();
        EXPECT_EQ(Hex(Reprinted(printed)), Hex(printed)) << c.text;
        JSON reread;
        ASSERT_TRUE(reread.parse(printed)) << c.text;
        EXPECT_TRUE(reread.KeyExists(c.key)) << c.text;
    }
}

TEST(JsonRoundTrip, WidenedTextsSettleOnOnePrintedForm) {
    const char* texts[] = {
        "{a:1,'b':'x',}",
        "[TRUE, False, NULL, 1E5, 1e5, -0, 0.5]",
        "/* c */ {\"k\" : [ 'a\\'b' , \"\\u4e2d\\u0000\" ] } // end",
        "[#Sun, 06 Nov 1994 08:49:37 GMT#, <Zg>]",
        "{\"x\":1,\"y\":2,\"x\":3}",
    };
    for (const char* text : texts) {
        std::string once = Reprinted(text);
        ASSERT_NE(once, "<fails>") << text;
        EXPECT_EQ(Reprinted(once), once) << text;
    }
}

// Random documents of every kind, with double-byte characters and escapes in
// keys and strings: printing and parsing them again changes nothing.
TEST(JsonRoundTrip, RandomDocumentsPrintTheSameAfterParsing) {
    std::mt19937 random(936);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto text = [&] {
        static const std::string pieces[] = {"a",
                                             "Z",
                                             " ",
                                             "\"",
                                             "\\",
                                             "/",
                                             "\n",
                                             "\x1F",
                                             std::string(1, '\0'),
                                             "\xD6\xD0",
                                             "\x95\x5C",
                                             "\x81\x22",
                                             "\x81\x30\x81\x30",
                                             "'",
                                             "#",
                                             "<",
                                             "\x81",
                                             "\xFE",
                                             "\x81\x30"};
        std::string result;
        for (int n = below(6); n > 0; --n) result += pieces[below(std::size(pieces))];
        return result;
    };
    std::function<void(JSON&, int)> fill = [&](JSON& container, int depth) {
        const bool isArray = below(2) == 0;
        container.SetType(isArray ? JSONType::Array : JSONType::Object);
        for (int n = below(5); n > 0; --n) {
            JSON child;
            int kind = depth < 30 ? below(11) : below(9);
            switch (kind) {
                case 0: child.AddItem(text()); break;
                case 1: child.AddItem(below(2) == 0); break;
                case 2: child.AddItem(below(2000000) / 64.0 - 1000.0); break;
                case 3: child.AddItem(below(1000000)); break;
                case 4: child.AddItem(static_cast<long long>(below(1000000)) * 1000000007LL - 3); break;
                case 5: child.AddItem(JsonDateTime{static_cast<double>(below(80000))}); break;
                case 6: child.AddItem(JsonBytes{text()}); break;
                case 7: child.AddItem(nullptr); break;
                case 8: child.AddItem(text()); break;
                default: fill(child, depth + 1); break;
            }
            JSON value = kind >= 9 ? child : child.GetJsonItem(0);
            if (isArray)
                container.AddItem(value);
            else
                container.SetProperty(text(), value);
        }
    };
    for (int i = 0; i < 300; ++i) {
        JSON document;
        fill(document, 1);
        const std::string printed = document.toString();
        EXPECT_EQ(Reprinted(printed), printed) << testsupport::Hex(printed);
    }
}
