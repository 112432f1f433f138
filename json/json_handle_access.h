// Library-internal access to the value a `JSON` handle holds, for
// json_document.cpp and the tests. Callers outside json/ use the JSON
// operations.
#pragma once

#include "json/json.h"

struct JsonHandleAccess {
    // The held value, or null for Null and Invalid; no reference is taken.
    static json_object* Value(const JSON& handle) { return handle.value_; }
};
