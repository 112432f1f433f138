// Small helpers shared by the JSON tests.
#pragma once

#include <string>

#include "json/json.h"
#include "json/json_handle_access.h"
#include "json/json_value_kinds.h"

namespace jsontest {

// The printed form of a text after parsing; "<fails>" when it does not parse.
inline std::string Reprinted(const std::string& text) {
    JSON document;
    if (!document.parse(text)) return "<fails>";
    return document.toString();
}

// The JSONType of the value a handle holds (Null for Null and Invalid).
inline int KindOf(const JSON& handle) { return jsonvalue::KindOf(JsonHandleAccess::Value(handle)); }

inline int KindOfParsed(const std::string& text) {
    JSON document;
    if (!document.parse(text)) return -1;
    return KindOf(document);
}

}  // namespace jsontest
