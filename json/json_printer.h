// The compact text form of a value tree.
#pragma once

#include <string>

struct json_object;

namespace jsonprint {

// Appends the text of the value (null prints "null").
void AppendValue(std::string& out, const json_object* value);

}  // namespace jsonprint
