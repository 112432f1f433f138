// The compact text form of a value tree.
#pragma once

#include <cstddef>
#include <string>

struct json_object;

namespace jsonprint {

// Appends the text of the value (null prints "null").
void AppendValue(std::string& out, const json_object* value);

// Appends the bytes of a string or key, escaped, without the quotes.
void AppendEscaped(std::string& out, const char* bytes, size_t length);

}  // namespace jsonprint
