// The text parser: JSON widened with apostrophe quotes, unquoted keys,
// comments, trailing commas, case-insensitive literals and the "#date#" and
// "<base64>" literals; strings are GBK byte strings.
#pragma once

#include <string_view>

struct json_object;

namespace jsonparse {

// Parses the first complete value of the text. On success returns true and
// sets *value to the new value (one reference, owned by the caller) or to
// null for the literal null. On failure returns false, *value is null and
// nothing built on the way is left alive.
bool ParseText(std::string_view text, json_object** value);

}  // namespace jsonparse
