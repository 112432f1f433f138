#include "download/rpc_reply.h"

#include <cstdio>

#include "utilities/text_number.h"

bool HasTopLevelError(const JSON& reply) { return reply.KeyExists("error"); }

int ReplyMemberCount(const JSON& reply) { return reply.GetItemCount(); }

int64_t ReplyInteger(const JSON& object, const char* name) {
    JsonValue value = object.GetProperty(name);
    switch (value.kind) {
        case JsonValue::Text: return TextToInteger(value.text);
        case JsonValue::Integer: return value.integer;
        case JsonValue::Long: return value.longInteger;
        case JsonValue::Double: return (int64_t)value.number;
        case JsonValue::Boolean: return value.boolean ? 1 : 0;
        default: return 0;
    }
}

std::string ReplyAnyText(const JSON& object, const char* name) {
    if (!object.KeyExists(name)) return {};
    JsonValue value = object.GetProperty(name);
    char buffer[64];
    switch (value.kind) {
        case JsonValue::Text: return value.text;
        case JsonValue::Integer: return std::to_string(value.integer);
        case JsonValue::Long: return std::to_string(value.longInteger);
        case JsonValue::Double: snprintf(buffer, sizeof buffer, "%.15g", value.number); return buffer;
        case JsonValue::Boolean: return value.boolean ? "true" : "false";
        default: return {};
    }
}

std::string ReplyString(const JSON& object, const char* name) {
    JsonValue value = object.GetProperty(name);
    return value.kind == JsonValue::Text ? value.text : std::string();
}
