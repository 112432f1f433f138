// The document handle: states, member semantics, sharing and conversions.
#include <gtest/gtest.h>

#include <cmath>

#include "json/json.h"
#include "json_test_helpers.h"

using jsontest::KindOf;

TEST(JsonDocument, NewHandlePrintsNullAndFailedParsePrintsNothing) {
    JSON document;
    EXPECT_EQ(document.toString(), "null");
    EXPECT_FALSE(document.parse(""));
    EXPECT_EQ(document.toString(), "");
    EXPECT_TRUE(document.parse("null"));
    EXPECT_EQ(document.toString(), "null");
}

TEST(JsonDocument, ReplacedMemberMovesToTheEnd) {
    JSON document;
    ASSERT_TRUE(document.SetType(JSONType::Object));
    document.SetProperty("a", "1");
    document.SetProperty("b", "2");
    document.SetProperty("a", "3");
    EXPECT_EQ(document.toString(), R"({"b":"2","a":"3"})");
}

TEST(JsonDocument, MemberWithoutValueIsNullAndCountsAsAbsent) {
    JSON document;
    document.SetProperty("gone");
    document.SetProperty("here", "");
    EXPECT_EQ(document.toString(), R"({"gone":null,"here":""})");
    EXPECT_FALSE(document.KeyExists("gone"));
    EXPECT_TRUE(document.KeyExists("here"));
    EXPECT_FALSE(document.KeyExists("missing"));
}

TEST(JsonDocument, SetTypeAcceptsOnlyNullObjectAndArray) {
    struct Case {
        int type;
        bool accepted;
        const char* printed;
    } cases[] = {
        {JSONType::Null, true, "null"},
        {JSONType::Object, true, "{}"},
        {JSONType::Array, true, "[]"},
        {JSONType::Boolean, false, "[1]"},
        {JSONType::Double, false, "[1]"},
        {JSONType::Integer, false, "[1]"},
        {JSONType::String, false, "[1]"},
        {JSONType::Long, false, "[1]"},
        {JSONType::Date, false, "[1]"},
        {JSONType::Binary, false, "[1]"},
        {-1, false, "[1]"},
        {10, false, "[1]"},
    };
    for (const Case& c : cases) {
        JSON document;
        document.AddItem(1);
        EXPECT_EQ(document.SetType(c.type), c.accepted) << c.type;
        EXPECT_EQ(document.toString(), c.printed) << c.type;
    }
}

TEST(JsonDocument, SetTypeReplacesEvenTheSameKind) {
    JSON document;
    document.SetProperty("a", 1);
    JSON before = document;
    ASSERT_TRUE(document.SetType(JSONType::Object));
    EXPECT_EQ(document.toString(), "{}");
    EXPECT_EQ(before.toString(), R"({"a":1})");
}

TEST(JsonDocument, SetPropertyAndAddItemTurnAnyOtherStateIntoTheirContainer) {
    JSON invalid;
    invalid.parse("{");
    invalid.SetProperty("a", 1);
    EXPECT_EQ(invalid.toString(), R"({"a":1})");

    JSON array;
    array.AddItem(1, 2);
    array.SetProperty("a", 1);
    EXPECT_EQ(array.toString(), R"({"a":1})");

    JSON object;
    object.SetProperty("a", 1);
    object.AddItem("x");
    EXPECT_EQ(object.toString(), R"(["x"])");

    JSON empty;
    empty.AddItem();
    EXPECT_EQ(empty.toString(), "[]");
    empty.AddItem(1, "two", 3.5, true, nullptr);
    EXPECT_EQ(empty.toString(), R"([1,"two",3.500000,true,null])");
}

TEST(JsonDocument, ArgumentsAreStoredAsTheirKinds) {
    JSON nullHandle;
    JSON invalidHandle;
    invalidHandle.parse("x");
    // Arguments only refer to their data, so the data must outlive the table.
    const std::string text = "s";
    const JsonBytes bytes{
        std::string("\x00\xFF"
                    "ab",
                    4)};
    struct Case {
        const char* name;
        JsonArgument argument;
        int kind;
        const char* printed;
    } cases[] = {
        {"text", "GBK \xD6\xD0", JSONType::String,
         R"("GBK )"
         "\xD6\xD0"
         R"(")"},
        {"empty text", "", JSONType::String, R"("")"},
        {"std::string", text, JSONType::String, R"("s")"},
        {"8-bit", static_cast<unsigned char>(200), JSONType::Integer, "200"},
        {"16-bit", static_cast<short>(-3), JSONType::Integer, "-3"},
        {"32-bit", -2147483647 - 1, JSONType::Integer, "-2147483648"},
        {"64-bit", 5LL, JSONType::Long, "5"},
        {"64-bit large", -9223372036854775807LL - 1, JSONType::Long, "-9223372036854775808"},
        {"float", 0.5f, JSONType::Double, "0.500000"},
        {"double", 100.0, JSONType::Double, "100.000000"},
        {"boolean", false, JSONType::Boolean, "false"},
        {"bytes", bytes, JSONType::Binary, "<AP9hYg==>"},
        {"date", JsonDateTime{0.0}, JSONType::Date, "#Sat, 30 Dec 1899 00:00:00 GMT#"},
        {"null handle", nullHandle, JSONType::Null, "null"},
        {"invalid handle", invalidHandle, JSONType::Null, "null"},
        {"nullptr", nullptr, JSONType::Null, "null"},
    };
    for (const Case& c : cases) {
        JSON document;
        document.SetProperty("v", c.argument);
        EXPECT_EQ(KindOf(document.GetJsonProperty("v")), c.kind) << c.name;
        EXPECT_EQ(document.toString(), std::string(R"({"v":)") + c.printed + "}") << c.name;
    }
}

TEST(JsonDocument, GetPropertyReadsEveryKind) {
    JSON document;
    ASSERT_TRUE(document.parse(R"({"b":true,"d":2.5,"i":7,"l":-1,"s":"x\u0041","t":#Sat, 30 Dec 1899 06:00:00 GMT#,)"
                               R"("y":<AP9hYg==>,"o":{},"a":[1],"n":null})"));
    JsonValue value = document.GetProperty("b");
    EXPECT_EQ(value.kind, JsonValue::Boolean);
    EXPECT_TRUE(value.boolean);
    value = document.GetProperty("d");
    EXPECT_EQ(value.kind, JsonValue::Double);
    EXPECT_EQ(value.number, 2.5);
    value = document.GetProperty("i");
    EXPECT_EQ(value.kind, JsonValue::Integer);
    EXPECT_EQ(value.integer, 7);
    value = document.GetProperty("l");
    EXPECT_EQ(value.kind, JsonValue::Long);
    EXPECT_EQ(value.longInteger, -1);
    value = document.GetProperty("s");
    EXPECT_EQ(value.kind, JsonValue::Text);
    EXPECT_EQ(value.text, "xA");
    value = document.GetProperty("t");
    EXPECT_EQ(value.kind, JsonValue::DateTime);
    EXPECT_DOUBLE_EQ(value.number, 0.25);
    value = document.GetProperty("y");
    EXPECT_EQ(value.kind, JsonValue::Bytes);
    EXPECT_EQ(value.text, std::string("\x00\xFF"
                                      "ab",
                                      4));
    for (const char* zero : {"o", "a", "n", "missing"}) {
        value = document.GetProperty(zero);
        EXPECT_EQ(value.kind, JsonValue::Integer) << zero;
        EXPECT_EQ(value.integer, 0) << zero;
    }
}

TEST(JsonDocument, ReadsOfAnythingButAnObjectGiveZeroOrNull) {
    for (const char* text : {"[1]", "1", "\"a\"", "null", "{"}) {
        JSON document;
        document.parse(text);
        EXPECT_EQ(document.GetProperty("a").kind, JsonValue::Integer) << text;
        EXPECT_EQ(KindOf(document.GetJsonProperty("a")), JSONType::Null) << text;
        EXPECT_FALSE(document.KeyExists("a")) << text;
    }
    JSON object;
    object.parse(R"({"a":1})");
    EXPECT_EQ(object.GetItemCount(), 0);
    EXPECT_EQ(KindOf(object.GetJsonItem(0)), JSONType::Null);
}

TEST(JsonDocument, GetJsonItemOutsideTheArrayIsNull) {
    JSON document;
    document.parse(R"([1,null,"x"])");
    ASSERT_EQ(document.GetItemCount(), 3);
    EXPECT_EQ(document.GetJsonItem(-1).toString(), "null");
    EXPECT_EQ(document.GetJsonItem(3).toString(), "null");
    EXPECT_EQ(document.GetJsonItem(1).toString(), "null");
    EXPECT_EQ(document.GetJsonItem(2).toString(), R"("x")");
}

TEST(JsonDocument, ChangeThroughAMemberShowsInTheParent) {
    JSON request;
    request.SetProperty("jsonrpc", "2.0");
    JSON params;
    params.AddItem("token:x");
    request.SetProperty("params", params);
    request.GetJsonProperty("params").AddItem("gid");
    JSON element = request.GetJsonProperty("params");
    JSON options;
    element.AddItem(options);             // Null handle: a null element
    options.SetProperty("out", "a.zip");  // options now holds a new Object, not shared
    EXPECT_EQ(request.toString(), R"({"jsonrpc":"2.0","params":["token:x","gid",null]})");
    EXPECT_EQ(params.toString(), R"(["token:x","gid",null])");
}

TEST(JsonDocument, ChangeThroughAnItemShowsInTheParent) {
    JSON batch;
    ASSERT_TRUE(batch.parse(R"([{"a":1},{"a":2}])"));
    batch.GetJsonItem(1).SetProperty("b", "x");
    EXPECT_EQ(batch.toString(), R"([{"a":1},{"a":2,"b":"x"}])");
}

TEST(JsonDocument, MemberOutlivesItsParent) {
    JSON member;
    JSON item;
    long before = jsonvalue::LiveValueCount();
    {
        JSON parent;
        ASSERT_TRUE(parent.parse(R"({"result":{"files":[{"path":"\/tmp\/a"}]},"id":"1"})"));
        member = parent.GetJsonProperty("result");
        item = member.GetJsonProperty("files").GetJsonItem(0);
        parent.parse("");  // the callers' way to reset a holder
        EXPECT_EQ(parent.toString(), "");
    }
    EXPECT_EQ(member.toString(), R"({"files":[{"path":"\/tmp\/a"}]})");
    EXPECT_EQ(item.GetProperty("path").text, "/tmp/a");
    member = JSON();
    EXPECT_EQ(item.toString(), R"({"path":"\/tmp\/a"})");
    item = JSON();
    EXPECT_EQ(jsonvalue::LiveValueCount(), before);
}

TEST(JsonDocument, CopiedHandleSharesTheValue) {
    JSON original;
    original.SetProperty("a", 1);
    JSON copy = original;
    copy.SetProperty("b", 2);
    EXPECT_EQ(original.toString(), R"({"a":1,"b":2})");
    JSON moved = std::move(copy);
    EXPECT_EQ(copy.toString(), "null");
    EXPECT_EQ(moved.toString(), original.toString());
}

TEST(JsonDocument, SettingADocumentIntoItselfStoresACopyWithoutTheNewMember) {
    JSON document;
    document.SetProperty("a", "1");
    document.SetProperty("self", document);
    EXPECT_EQ(document.toString(), R"({"a":"1","self":{"a":"1"}})");

    JSON fresh;  // Null: becomes an empty Object first, then copies that
    fresh.SetProperty("self", fresh);
    EXPECT_EQ(fresh.toString(), R"({"self":{}})");

    JSON array;
    array.AddItem(1);
    array.AddItem(array, array);
    EXPECT_EQ(array.toString(), "[1,[1],[1,[1]]]");
}

TEST(JsonDocument, SharedValuePutIntoTwoPlacesIsOneValue) {
    JSON shared;
    shared.AddItem("x");
    JSON document;
    document.SetProperty("a", shared);
    document.SetProperty("b", shared);
    shared.AddItem("y");  // still an Array: appends to the shared value
    EXPECT_EQ(document.toString(), R"({"a":["x","y"],"b":["x","y"]})");
}

TEST(JsonDocument, DateTimeReadsBackAsWritten) {
    const double dates[] = {0.0, 0.25, 45000.5, 45000.123456, 2958465.999988426, -1.25, -36522.75, 1.0 / 86400000.0};
    for (double days : dates) {
        JSON document;
        document.SetProperty("d", JsonDateTime{days});
        JsonValue value = document.GetProperty("d");
        ASSERT_EQ(value.kind, JsonValue::DateTime) << days;
        EXPECT_NEAR(value.number, days, 0.5 / 86400000.0) << days;
        // The printed form carries whole seconds and reads back to them.
        JSON reread;
        ASSERT_TRUE(reread.parse(document.toString())) << document.toString();
        EXPECT_NEAR(reread.GetProperty("d").number, days, 1.0 / 86400.0) << document.toString();
    }
}

TEST(JsonDocument, DatePrintsWithItsWeekday) {
    JSON document;
    document.AddItem(JsonDateTime{45000.5}, JsonDateTime{-1.25});
    EXPECT_EQ(document.toString(), "[#Wed, 15 Mar 2023 12:00:00 GMT#,#Fri, 29 Dec 1899 06:00:00 GMT#]");
}

TEST(JsonDocument, ValuesAreFreedWhenTheLastHandleGoes) {
    long before = jsonvalue::LiveValueCount();
    {
        JSON document;
        document.SetProperty("a", "x");
        JSON list;
        list.AddItem(1, 2LL, 3.0, true, JsonBytes{"b"}, JsonDateTime{1.0});
        document.SetProperty("list", list);
        document.SetProperty("list", list);
        document.SetProperty("self", document);
        document.AddItem(document);
        EXPECT_GT(jsonvalue::LiveValueCount(), before);
    }
    EXPECT_EQ(jsonvalue::LiveValueCount(), before);
}

TEST(JsonDocument, ValueHoldingTheDocumentBelowCannotGoIntoIt) {
    long before = jsonvalue::LiveValueCount();
    {
        JSON document;
        ASSERT_TRUE(document.parse(R"({"child":{"list":[]}})"));
        JSON child = document.GetJsonProperty("child");
        JSON list = child.GetJsonProperty("list");
        list.AddItem(document, child, 1);
        child.SetProperty("loop", document);
        EXPECT_EQ(document.toString(), R"({"child":{"list":[null,null,1],"loop":null}})");
    }
    EXPECT_EQ(jsonvalue::LiveValueCount(), before);
}

TEST(JsonDocument, DateOutsideTheCalendarIsHeldAtItsEnds) {
    JSON document;
    document.AddItem(JsonDateTime{std::nan("")}, JsonDateTime{1e9}, JsonDateTime{-1e9}, JsonDateTime{-1.9999999999});
    EXPECT_EQ(document.toString(),
              "[#Sat, 30 Dec 1899 00:00:00 GMT#,#Fri, 31 Dec 9999 23:59:59 GMT#,#Mon, 01 Jan 1601 00:00:00 GMT#,"
              "#Sat, 30 Dec 1899 00:00:00 GMT#]");
}
