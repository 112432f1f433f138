// The JSON document through which the download engine builds its JSON-RPC
// requests and reads the daemon's replies and notifications.
//
// A `JSON` is a handle to one value of json-c's reference-counted tree, or to
// nothing: Null, or Invalid after a failed parse. Values are shared, never
// copied: a member read with GetJsonProperty or GetJsonItem, or a handle put
// in with SetProperty or AddItem, is the same value, and a change made through
// any handle shows through all the others. Each handle owns one reference and
// releases it when destroyed; copying a handle takes another reference to the
// same value.
//
// Texts are GBK byte strings (code page 936). The printed form is the
// system's own: no blanks, members in insertion order (a replaced member moves
// to the end), doubles with six decimals, double-byte characters never split
// or escaped, and three kinds beside JSON's own (Long, Date, Binary).
//
// Reference counts are not atomic: a handle and every value it reaches belong
// to one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct json_object;

// Kind numbers of SetType and of the value model. (The null kind is called
// Null here because NULL is the C macro.)
struct JSONType {
    enum : int {
        Null = 0,
        Boolean = 1,
        Double = 2,
        Integer = 3,
        Object = 4,
        Array = 5,
        String = 6,
        Long = 7,
        Date = 8,
        Binary = 9,
    };
};

// A calendar time as a count of days since 1899-12-30 00:00 (the fraction is
// the time of day), taken as UTC. Stored as the Date kind.
struct JsonDateTime {
    double days = 0.0;
};

// A block of bytes, stored as the Binary kind (a text argument would be a String).
struct JsonBytes {
    std::string bytes;
};

// What GetProperty reads out of a member: one tagged value. A missing, null,
// Object or Array member reads as the Integer 0.
struct JsonValue {
    enum Kind { Integer, Long, Double, Boolean, Text, DateTime, Bytes };

    Kind kind = Integer;
    int32_t integer = 0;      // Integer
    int64_t longInteger = 0;  // Long
    double number = 0.0;      // Double, and DateTime as days since 1899-12-30
    bool boolean = false;     // Boolean
    std::string text;         // Text, and Bytes
};

class JSON;

// One argument of SetProperty or AddItem, converted on the caller's behalf.
// It only refers to the caller's data and lives for the call.
class JsonArgument {
public:
    enum Kind { NullValue, Text, Integer, Long, Double, Boolean, DateTime, Bytes, Handle };

    JsonArgument(std::nullptr_t) {}
    JsonArgument(const char* text) : kind_(Text), text_(text ? text : "") {}
    JsonArgument(const std::string& text) : kind_(Text), text_(text) {}
    JsonArgument(std::string_view text) : kind_(Text), text_(text) {}
    JsonArgument(bool value) : kind_(Boolean), integer_(value ? 1 : 0) {}
    JsonArgument(unsigned char value) : kind_(Integer), integer_(value) {}  // 8-bit: unsigned
    JsonArgument(short value) : kind_(Integer), integer_(value) {}          // 16-bit: signed
    JsonArgument(int value) : kind_(Integer), integer_(value) {}
    JsonArgument(long value) : kind_(Integer), integer_(value) {}  // 32 bits on Windows
    JsonArgument(long long value) : kind_(Long), integer_(value) {}
    JsonArgument(float value) : kind_(Double), number_(value) {}
    JsonArgument(double value) : kind_(Double), number_(value) {}
    JsonArgument(JsonDateTime value) : kind_(DateTime), number_(value.days) {}
    JsonArgument(const JsonBytes& value) : kind_(Bytes), text_(value.bytes) {}
    JsonArgument(const JSON& handle) : kind_(Handle), handle_(&handle) {}

    Kind kind() const { return kind_; }
    std::string_view text() const { return text_; }  // Text, Bytes
    int64_t integer() const { return integer_; }     // Integer, Long, Boolean
    double number() const { return number_; }        // Double, DateTime
    const JSON* handle() const { return handle_; }   // Handle

private:
    Kind kind_ = NullValue;
    std::string_view text_;
    int64_t integer_ = 0;
    double number_ = 0.0;
    const JSON* handle_ = nullptr;
};

class JSON {
public:
    JSON();  // Null
    ~JSON();
    JSON(const JSON& other);  // another reference to the same value (shared)
    JSON& operator=(const JSON& other);
    JSON(JSON&& other) noexcept;
    JSON& operator=(JSON&& other) noexcept;

    // Releases the value held, then parses the text. True on success: the
    // handle holds the parsed value, or is Null for the literal null. False on
    // failure: the handle is Invalid. Parsing "" is the usual way to reset.
    bool parse(std::string_view text);
    bool parse(const char* text) { return parse(std::string_view(text ? text : "")); }
    bool parse(const std::string& text) { return parse(std::string_view(text)); }

    // The compact text: "null" for Null, "" for Invalid.
    std::string toString() const;

    // 0: Null; 4: a new empty Object; 5: a new empty Array (even when the
    // handle already holds one). Any other number: false, nothing changes.
    bool SetType(int type);

    // Makes the handle an Object if it is not one, then sets the member. An
    // existing member is removed first, so the member always ends up last.
    // With no value, or a Null or Invalid handle as value, the member is null.
    // A handle holding this very Object stores a one-level copy of it.
    void SetProperty(const char* name);
    void SetProperty(const char* name, const JsonArgument& value);
    void SetProperty(const std::string& name) { SetProperty(name.c_str()); }
    void SetProperty(const std::string& name, const JsonArgument& value) { SetProperty(name.c_str(), value); }

    // The member's value as a tagged value (copies of texts and bytes); the
    // Integer 0 when this is no Object or the member is missing, null, an
    // Object or an Array.
    JsonValue GetProperty(const char* name) const;
    JsonValue GetProperty(const std::string& name) const { return GetProperty(name.c_str()); }

    // A new handle sharing the member's value; Null when this is no Object or
    // the member is missing or null. The caller owns the returned handle; it
    // stays valid after this handle is gone.
    JSON GetJsonProperty(const char* name) const;
    JSON GetJsonProperty(const std::string& name) const { return GetJsonProperty(name.c_str()); }

    // Elements of an Array, null elements included; 0 for anything else.
    int GetItemCount() const;

    // Makes the handle an Array if it is not one (dropping what it held), then
    // appends each value in order, converted as for SetProperty.
    void AddItem();
    template <typename... Values>
    void AddItem(const Values&... values) {
        MakeArray();
        (AppendItem(JsonArgument(values)), ...);
    }

    // A new handle sharing the element; Null when this is no Array, the index
    // is outside 0..count-1 or the element is null.
    JSON GetJsonItem(int index) const;

    // True when this is an Object holding the key with a non-null value.
    bool KeyExists(const char* name) const;
    bool KeyExists(const std::string& name) const { return KeyExists(name.c_str()); }

private:
    friend struct JsonHandleAccess;

    void Release();
    void Hold(json_object* value);  // takes over one reference
    void MakeObject();
    void MakeArray();
    void AppendItem(const JsonArgument& value);

    json_object* value_ = nullptr;
    bool invalid_ = false;
};
