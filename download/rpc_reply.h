// Reading the daemon's replies. The daemon sends every number as a JSON
// string of decimal digits; a reply that is empty or does not parse reads as
// a document without members.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "json/json.h"

// A document holding a member "error" (present and not null) at the top
// level: the whole reply failed and nothing else of it is read.
bool HasTopLevelError(const JSON& reply);

// Number of members when the document is an array, else 0.
int ReplyMemberCount(const JSON& reply);

// The member as an integer: a string by the program's text-to-integer rule,
// a number by its value; 0 when missing.
int64_t ReplyInteger(const JSON& object, const char* name);

// The member as text: a string unchanged, a number in decimal; empty when
// missing.
std::string ReplyAnyText(const JSON& object, const char* name);

// The member when it is a string; empty otherwise.
std::string ReplyString(const JSON& object, const char* name);

// A batch reply: out is replaced by one default element per reply member, in
// order, and fill(member, element) reads each member that holds no "error".
// A top-level "error" leaves out untouched and gives false; otherwise true
// when text parsed.
template <typename Element, typename Fill>
bool ReadBatchReply(const std::string& text, std::vector<Element>& out, Fill fill) {
    JSON document;
    bool parsed = document.parse(text);
    if (HasTopLevelError(document)) return false;
    int count = ReplyMemberCount(document);
    out.assign((size_t)count, Element());
    for (int i = 0; i < count; ++i) {
        JSON member = document.GetJsonItem(i);
        if (!member.KeyExists("error")) fill(member, out[(size_t)i]);
    }
    return parsed;
}
