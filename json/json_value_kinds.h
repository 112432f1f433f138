// The value kinds of the document on top of json-c's tree.
//
// json-c knows one integer type and one string type; the document needs
// Integer and Long, and Date and Binary beside String. Every value this
// library creates carries its kind as json-c userdata, together with a delete
// hook that keeps the count of live values (the tests use it to prove that
// reference counts balance).
//
// Every New* function returns a value with one reference, owned by the
// caller, or null when memory ran out.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct json_object;

namespace jsonvalue {

json_object* NewObject();
json_object* NewArray();
json_object* NewBoolean(bool value);
json_object* NewDouble(double value);
json_object* NewInteger(int32_t value);
json_object* NewLong(int64_t value);
json_object* NewString(const char* bytes, size_t length);
json_object* NewDate(const SYSTEMTIME& time);
json_object* NewBinary(const char* bytes, size_t length);

// The JSONType number of a value; JSONType::Null for a null pointer.
int KindOf(const json_object* value);

// The calendar time of a Date value.
SYSTEMTIME DateOf(const json_object* value);

// Values created by this library and not yet freed, in the whole process.
long LiveValueCount();

}  // namespace jsonvalue
