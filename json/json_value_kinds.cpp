#include "json/json_value_kinds.h"

#include <json-c/json.h>

#include <atomic>
#include <cstring>

#include "json/json.h"

namespace jsonvalue {
namespace {

// Counted across threads: separate documents may live on separate threads.
std::atomic<long> g_liveValues{0};

void ForgetValue(json_object*, void*) { g_liveValues.fetch_sub(1, std::memory_order_relaxed); }

void* KindTag(int kind) { return reinterpret_cast<void*>(static_cast<intptr_t>(kind)); }

json_object* Tagged(json_object* value, int kind) {
    if (!value) return nullptr;
    json_object_set_userdata(value, KindTag(kind), ForgetValue);
    g_liveValues.fetch_add(1, std::memory_order_relaxed);
    return value;
}

}  // namespace

json_object* NewObject() { return Tagged(json_object_new_object(), JSONType::Object); }
json_object* NewArray() { return Tagged(json_object_new_array(), JSONType::Array); }
json_object* NewBoolean(bool value) { return Tagged(json_object_new_boolean(value), JSONType::Boolean); }
json_object* NewDouble(double value) { return Tagged(json_object_new_double(value), JSONType::Double); }
json_object* NewInteger(int32_t value) { return Tagged(json_object_new_int64(value), JSONType::Integer); }
json_object* NewLong(int64_t value) { return Tagged(json_object_new_int64(value), JSONType::Long); }

json_object* NewString(const char* bytes, size_t length) {
    return Tagged(json_object_new_string_len(bytes ? bytes : "", static_cast<int>(length)), JSONType::String);
}

json_object* NewDate(const SYSTEMTIME& time) {
    return Tagged(json_object_new_string_len(reinterpret_cast<const char*>(&time), sizeof time), JSONType::Date);
}

json_object* NewBinary(const char* bytes, size_t length) {
    return Tagged(json_object_new_string_len(bytes ? bytes : "", static_cast<int>(length)), JSONType::Binary);
}

int KindOf(const json_object* value) {
    if (!value) return JSONType::Null;
    int tag = static_cast<int>(reinterpret_cast<intptr_t>(json_object_get_userdata(const_cast<json_object*>(value))));
    if (tag != 0) return tag;
    // Not created here (json-c's own): map json-c's types.
    switch (json_object_get_type(value)) {
        case json_type_boolean: return JSONType::Boolean;
        case json_type_double: return JSONType::Double;
        case json_type_int: {
            int64_t number = json_object_get_int64(value);
            return number >= INT32_MIN && number <= INT32_MAX ? JSONType::Integer : JSONType::Long;
        }
        case json_type_object: return JSONType::Object;
        case json_type_array: return JSONType::Array;
        case json_type_string: return JSONType::String;
        default: return JSONType::Null;
    }
}

SYSTEMTIME DateOf(const json_object* value) {
    SYSTEMTIME time = {};
    if (KindOf(value) == JSONType::Date && json_object_get_string_len(value) == static_cast<int>(sizeof time)) {
        memcpy(&time, json_object_get_string(const_cast<json_object*>(value)), sizeof time);
    }
    return time;
}

long LiveValueCount() { return g_liveValues.load(std::memory_order_relaxed); }

}  // namespace jsonvalue
