// The text parser: the widened syntax, number kinds, escapes, nesting and the
// end-of-text rule.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <limits>

#include "json/json.h"
#include "json_test_helpers.h"
#include "support/test_support.h"

using jsontest::KindOfParsed;
using jsontest::Reprinted;
using testsupport::Bytes;
using testsupport::Hex;

namespace {

// The bytes of the only string of a one-element array text.
std::string StringOf(const std::string& arrayText) {
    JSON document;
    if (!document.parse(arrayText)) return "<fails>";
    JSON holder;
    holder.SetProperty("s", document.GetJsonItem(0));
    return holder.GetProperty("s").text;
}

// The value of the only element of "[text]", read as a caller reads a member.
JsonValue ElementOf(const std::string& text) {
    JSON document;
    JSON holder;
    if (!document.parse("[" + text + "]")) {
        JsonValue failed;
        failed.kind = JsonValue::Bytes;  // a kind no number has
        return failed;
    }
    holder.SetProperty("n", document.GetJsonItem(0));
    return holder.GetProperty("n");
}

std::string Nested(const std::string& open, const std::string& inner, const std::string& close, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    text += inner;
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

}  // namespace

TEST(JsonParser, TextsThatDoNotParse) {
    const char* texts[] = {
        "",           // nothing
        "   \r\n\t",  // blanks only
        "/* only a comment */",
        "// only a comment\n",
        "nul",  // literal cut short
        "nulx",
        "tru",
        "fals",
        "trux",
        "[1 2]",  // no separator
        "[1,2",   // no closing bracket
        "[1,",
        "{\"a\":1",
        "{\"a\" 1}",  // no colon
        "{\"a\":1 \"b\":2}",
        "{a}",
        "{\"a\":}",
        "[,]",
        "\"open",
        "'open\"",
        "-",  // a sign alone
        "-.",
        "--1",
        "+1",
        ".5",
        "x",
        "]",
        "#open",
        "<AAAA",
        "<@@>",  // not Base64
        "<A>",
        "1 /x",         // a slash that starts no comment
        "\"\\u12G4\"",  // bad hexadecimal digit
        "\"\\u12\"",
        "{'it''s':1}",  // a doubled quote escapes nothing
        "[\"\\u0041\\u00\"]",
    };
    for (const char* text : texts) {
        JSON document;
        EXPECT_FALSE(document.parse(text)) << text;
        EXPECT_EQ(document.toString(), "") << text;
    }
}

TEST(JsonParser, TextsThatParseAndHowTheyPrint) {
    struct Case {
        const char* text;
        const char* printed;
    } cases[] = {
        {"null", "null"},
        {"NULL", "null"},
        {"Null", "null"},
        {"true", "true"},
        {"TRUE", "true"},
        {"False", "false"},
        {"truex", "true"},  // the value is complete after four letters
        {"nullnull", "null"},
        {"{a:1,'b':'x',}", R"({"a":1,"b":"x"})"},
        {"[1,2,]", "[1,2]"},
        {"{} tail", "{}"},
        {"[1] ]", "[1]"},
        {"[1] xyz", "[1]"},
        {"1 /* open", "1"},
        {"1 // comment", "1"},
        {"1 /", "1"},
        {"// c\n 5", "5"},
        {"/* a */ [ /* b */ 1 , // c\n 2 ] /* d */", "[1,2]"},
        {"/* star **/ 7", "7"},
        {"[1, /***/ 2]", "[1,2]"},
        {"/* a * b */ 8", "8"},
        {"<>", "<>"},
        {"<Zm9v>", "<Zm9v>"},
        {"<Zg>", "<Zg==>"},
        {"1.5E3", "1500.000000"},
        {"1E5", "1"},
        {"1e5", "100000.000000"},
        {"1e", "1.000000"},
        {"-0", "0"},
        {"0123", "123"},
        {"1+2", "1"},
        {"{ a : 1 , b:[ ] }", R"({"a":1,"b":[]})"},
        {"{\"a\":1,\"b\":2,\"a\":3}", R"({"b":2,"a":3})"},
        {"['it\\'s', \"say \\\"hi\\\"\"]", R"(["it's","say \"hi\""])"},
        {"[\"a\\xb\"]", R"(["a\\xb"])"},
        {"[\"\\/\\b\\f\\n\\r\\t\"]", R"(["\/\b\u000c\n\r\t"])"},
        {"{:1}", R"({"":1})"},
        {"{\"\":null}", R"({"":null})"},
        {" \t\n[null , NULL]\n", "[null,null]"},
    };
    for (const Case& c : cases) EXPECT_EQ(Reprinted(c.text), c.printed) << c.text;
}

TEST(JsonParser, NumberKinds) {
    struct Case {
        const char* text;
        int kind;
        const char* printed;
    } cases[] = {
        {"0", JSONType::Integer, "0"},
        {"-0", JSONType::Integer, "0"},
        {"2147483646", JSONType::Integer, "2147483646"},
        {"2147483647", JSONType::Long, "2147483647"},
        {"-1", JSONType::Long, "-1"},
        {"-2147483648", JSONType::Long, "-2147483648"},
        {"9223372036854775807", JSONType::Long, "9223372036854775807"},
        {"99999999999999999999", JSONType::Long, "9223372036854775807"},  // held at the range's end
        {"-99999999999999999999", JSONType::Long, "-9223372036854775808"},
        {"1.0", JSONType::Double, "1.000000"},
        {"1e2", JSONType::Double, "100.000000"},
        {"1E5", JSONType::Integer, "1"},
        {"-2.5e-1", JSONType::Double, "-0.250000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KindOfParsed(c.text), c.kind) << c.text;
        EXPECT_EQ(Reprinted(c.text), c.printed) << c.text;
    }
}

// Runs of a million digits, where every digit may still decide the rounding.
TEST(JsonParser, LongNumbersReadToTheNearestValue) {
    const size_t n = 1048576;
    const std::string zeros(n, '0');
    const std::string nines(n, '9');
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::string text;
        JsonValue::Kind kind;
        double value;  // Double; Long and Integer compare with it too
    } cases[] = {
        {"one and a far digit", "1." + zeros + "1", JsonValue::Double, 1.0},
        {"leading fraction zeros and exponent", "0." + zeros + "1e1048581", JsonValue::Double, 10000.0},
        {"halfway between two doubles, to even", "9007199254740993." + zeros, JsonValue::Double, 9007199254740992.0},
        {"a far digit just above halfway", "9007199254740993." + zeros + "1", JsonValue::Double, 9007199254740994.0},
        {"long whole part scaled down", "9007199254740993" + zeros + ".1e-1048576", JsonValue::Double,
         9007199254740994.0},
        {"smallest subnormal", "0." + std::string(323, '0') + "49406564584124654", JsonValue::Double,
         std::numeric_limits<double>::denorm_min()},
        {"too large", "1" + std::string(400, '0') + ".5", JsonValue::Double, inf},
        {"long exponent", "1.5e" + nines, JsonValue::Double, inf},
        {"long negative exponent", "1.5e-" + nines, JsonValue::Double, 0.0},
        {"rest of the run ignored", "2." + zeros + "1.5e9", JsonValue::Double, 2.0},
        {"long integer", nines, JsonValue::Long, 9223372036854775807.0},
        {"zeros before an integer", zeros + "7", JsonValue::Integer, 7.0},
    };
    for (const Case& c : cases) {
        JsonValue value = ElementOf(c.text);
        ASSERT_EQ(value.kind, c.kind) << c.name;
        if (c.kind == JsonValue::Double) {
            EXPECT_EQ(value.number, c.value) << c.name;
        }
        if (c.kind == JsonValue::Long) {
            EXPECT_EQ(static_cast<double>(value.longInteger), c.value) << c.name;
        }
        if (c.kind == JsonValue::Integer) {
            EXPECT_EQ(value.integer, c.value) << c.name;
        }
    }
    EXPECT_EQ(Reprinted("[-0." + zeros + "]"), "[-0.000000]");
    EXPECT_EQ(ElementOf("-" + nines).longInteger, std::numeric_limits<int64_t>::min());
}

TEST(JsonParser, NumberEndsAtTheFirstByteOutsideItsRun) {
    JSON document;
    ASSERT_TRUE(document.parse("{a:12,b:-3}"));
    EXPECT_EQ(document.GetProperty("a").integer, 12);
    EXPECT_EQ(document.GetProperty("b").longInteger, -3);
}

TEST(JsonParser, UnicodeEscapesBecomeGbkBytes) {
    EXPECT_EQ(Hex(StringOf(R"(["\u4e2d"])")), "D6 D0");
    EXPECT_EQ(Hex(StringOf(R"(["\u4E2D\u6587"])")), "D6 D0 CE C4");
    EXPECT_EQ(StringOf(R"(["\u0041\u007a"])"), "Az");
    EXPECT_EQ(StringOf(R"(["a\u0000b"])"), std::string("a\0b", 3));
}

// A surrogate half without its partner becomes the code page's replacement
// character, never UTF-8's EF BF BD, whose last byte would swallow the next
// byte (a closing quote) when the string is printed and read again.
TEST(JsonParser, LoneSurrogateBecomesTheCodePageReplacementCharacter) {
    const std::string replacement = IsValidCodePage(54936) ? Bytes({0x84, 0x31, 0xA4, 0x37}) : "?";
    struct Case {
        const char* text;
        std::string bytes;
    } cases[] = {
        {R"(["\ud800"])", replacement},
        {R"(["\ud800x"])", replacement + "x"},
        {R"(["\udc00"])", replacement},
        {R"(["\ud800\u0041"])", replacement + "A"},
        {R"(["\ud800\ud800\udc00"])", replacement + StringOf(R"(["\ud800\udc00"])")},
    };
    for (const Case& c : cases) {
        std::string bytes = StringOf(c.text);
        EXPECT_EQ(Hex(bytes), Hex(c.bytes)) << c.text;
        EXPECT_EQ(bytes.find("\xEF\xBF\xBD"), std::string::npos) << c.text;
        JSON document;
        document.AddItem(bytes, "next");
        EXPECT_EQ(Reprinted(document.toString()), document.toString()) << c.text;
    }
}

TEST(JsonParser, SurrogatePairReachesTheStringWhole) {
    std::string bytes = StringOf(R"(["\ud83d\ude00"])");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find("\xEF\xBF\xBD"), std::string::npos);
    if (IsValidCodePage(54936)) {
        EXPECT_EQ(Hex(bytes), "94 39 FC 36");
    }
}

TEST(JsonParser, DoubleByteCharacterKeepsATrailByteThatLooksLikeAQuote) {
    struct Case {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"[\"" + Bytes({0x81, 0x22}) + "x\"]", Bytes({0x81, 0x22, 'x'})},
        {"['" + Bytes({0x81, '\''}) + "']", Bytes({0x81, '\''})},
        {"[\"" + Bytes({0x95, 0x5C}) + "\"]", Bytes({0x95, 0x5C})},
        {"[\"" + Bytes({0xD6, 0xD0, 0x5C, 0x5C}) + "\"]", Bytes({0xD6, 0xD0, 0x5C})},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(StringOf(c.text)), Hex(c.bytes)) << Hex(c.text);
    // A lead byte just before the end takes nothing with it; the string stays open.
    EXPECT_EQ(Reprinted("[\"" + Bytes({0x81})), "<fails>");
}

TEST(JsonParser, QuotedKeyKeepsItsDoubleByteCharacters) {
    const std::string key = Bytes({0x95, 0x5C, 0x81, 0x22});
    JSON document;
    document.SetProperty(key, 1);
    JSON reread;
    ASSERT_TRUE(reread.parse(document.toString())) << Hex(document.toString());
    EXPECT_TRUE(reread.KeyExists(key));
    EXPECT_EQ(reread.toString(), document.toString());
}

TEST(JsonParser, KeysReadWithEscapesAndWithoutQuotes) {
    JSON document;
    ASSERT_TRUE(document.parse(R"({"a\"b":1, 'c\u0041':2, plain:3, spaced :4})"));
    EXPECT_EQ(document.GetProperty("a\"b").integer, 1);
    EXPECT_EQ(document.GetProperty("cA").integer, 2);
    EXPECT_EQ(document.GetProperty("plain").integer, 3);
    EXPECT_EQ(document.GetProperty("spaced").integer, 4);
}

TEST(JsonParser, NestingDeeperThanThirtyTwoLevelsFailsCleanly) {
    EXPECT_EQ(Reprinted(Nested("[", "", "]", 32)), Nested("[", "", "]", 32));
    EXPECT_EQ(Reprinted(Nested("[", "", "]", 33)), "<fails>");
    EXPECT_EQ(Reprinted(Nested("{\"a\":", "{}", "}", 31)), Nested("{\"a\":", "{}", "}", 31));
    EXPECT_EQ(Reprinted(Nested("{\"a\":", "{}", "}", 32)), "<fails>");
    // The deepest level holds no further value, not even a number.
    EXPECT_EQ(Reprinted(Nested("[", "1", "]", 31)), Nested("[", "1", "]", 31));
    EXPECT_EQ(Reprinted(Nested("[", "1", "]", 32)), "<fails>");

    long before = jsonvalue::LiveValueCount();
    EXPECT_EQ(Reprinted(Nested("[", "", "]", 100000)), "<fails>");
    EXPECT_EQ(Reprinted(Nested("{a:", "1", "}", 100000)), "<fails>");
    EXPECT_EQ(Reprinted(std::string(100000, '[')), "<fails>");
    EXPECT_EQ(jsonvalue::LiveValueCount(), before);
}

TEST(JsonParser, DateLiteralGivesItsDateTime) {
    JSON document;
    ASSERT_TRUE(document.parse("[#Sun, 06 Nov 1994 08:49:37 GMT#]"));
    EXPECT_EQ(document.toString(), "[#Sun, 06 Nov 1994 08:49:37 GMT#]");
    JSON holder;
    holder.SetProperty("d", document.GetJsonItem(0));
    JsonValue value = holder.GetProperty("d");
    EXPECT_EQ(value.kind, JsonValue::DateTime);
    EXPECT_NEAR(value.number, 34644.0 + (8 * 3600 + 49 * 60 + 37) / 86400.0, 1e-9);
}

TEST(JsonParser, BinaryLiteralDecodes) {
    JSON document;
    ASSERT_TRUE(document.parse("{b:<AP9hYg==>}"));
    JsonValue value = document.GetProperty("b");
    EXPECT_EQ(value.kind, JsonValue::Bytes);
    EXPECT_EQ(Hex(value.text), "00 FF 61 62");
}

TEST(JsonParser, FailedParseReleasesWhatItBuilt) {
    long before = jsonvalue::LiveValueCount();
    const char* texts[] = {"[1,2,{\"a\":[3,4,\"x\"]", "{\"a\":{\"b\":[1,2]},\"c\" 1}", "[[[[[[1]]]]],[2,[3]] x"};
    for (const char* text : texts) {
        JSON document;
        EXPECT_FALSE(document.parse(text)) << text;
        EXPECT_EQ(jsonvalue::LiveValueCount(), before) << text;
    }
}

TEST(JsonParser, ParseReplacesTheHeldValueButNotItsSharedMembers) {
    JSON document;
    ASSERT_TRUE(document.parse(R"({"a":[1]})"));
    JSON member = document.GetJsonProperty("a");
    ASSERT_TRUE(document.parse("[2]"));
    EXPECT_EQ(document.toString(), "[2]");
    EXPECT_EQ(member.toString(), "[1]");
}

// Only the HTTP date forms are dates; any other text between "#" fails
// rather than becoming some other time (Wine's own reader takes any text and
// fills in the current time).
TEST(JsonParser, DateLiteralTakesTheHttpDateFormsOnly) {
    const std::string nov6 = "Sun, 06 Nov 1994 08:49:37 GMT";
    struct Good {
        const char* text;
        std::string printed;
    } good[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", nov6},
        {"sun, 06 nov 1994 08:49:37 gmt", nov6},
        {"Mon, 06 Nov 1994 08:49:37 GMT", nov6},  // the weekday follows the date
        {"  Sun,6 Nov   1994 08:49:37 GMT ", nov6},
        {"Sunday, 06-Nov-94 08:49:37 GMT", nov6},
        {"Sunday, 06-Nov-1994 08:49:37 GMT", nov6},
        {"Tuesday, 01-Jan-30 00:00:00 GMT", "Tue, 01 Jan 2030 00:00:00 GMT"},
        {"Sun Nov  6 08:49:37 1994", nov6},
        {"Tue, 29 Feb 2000 23:59:59 GMT", "Tue, 29 Feb 2000 23:59:59 GMT"},
        {"Mon, 01 Jan 1601 00:00:00 GMT", "Mon, 01 Jan 1601 00:00:00 GMT"},
        {"Fri, 31 Dec 9999 23:59:59 GMT", "Fri, 31 Dec 9999 23:59:59 GMT"},
    };
    for (const Good& c : good) {
        const std::string printed = "[#" + c.printed + "#]";
        EXPECT_EQ(Reprinted(std::string("[#") + c.text + "#]"), printed) << c.text;
        EXPECT_EQ(Reprinted(printed), printed) << c.text;
    }
    const char* bad[] = {
        "",
        "hello world",
        "Sun, 06 Nov 1994",  // no time
        "Sun, 06 Nov 1994 08:49:37 EST",
        "Sun, 06 Nov 1994 08:49:37 GMT x",
        "Sun, 06tNov 1994 08:49:37 GMT",
        "06 Nov 1994 08:49:37 GMT",  // no weekday
        "Sun, 06 Novem 1994 08:49:37 GMT",
        "Sun, 06 Nov 94 08:49:37 GMT",  // two-digit year only in the dashed form
        "Sunday, 06-Nov-994 08:49:37 GMT",
        "Sun, 06 Nov 1994 8:49:37 GMT",
        "Sun, 06 Nov 1994 24:00:00 GMT",
        "Sun, 06 Nov 1994 08:49:60 GMT",
        "Sun, 31 Nov 1994 08:49:37 GMT",
        "Sun, 29 Feb 1900 08:49:37 GMT",  // no leap year
        "Sun, 31 Dec 1600 23:59:59 GMT",  // before the system's calendar
        "Sun Nov  6 08:49:37 94",
    };
    for (const char* text : bad) {
        JSON document;
        EXPECT_FALSE(document.parse(std::string("[#") + text + "#]")) << text;
    }
}
