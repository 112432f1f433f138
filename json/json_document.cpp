#include "json/json.h"

#include <json-c/json.h>

#include <utility>

#include "json/json_date.h"
#include "json/json_handle_access.h"
#include "json/json_parser.h"
#include "json/json_printer.h"
#include "json/json_value_kinds.h"

namespace {

// A one-level copy of a container: a new container whose members are the
// source's own values with one more reference each.
json_object* ShallowCopy(json_object* source) {
    if (jsonvalue::KindOf(source) == JSONType::Object) {
        json_object* copy = jsonvalue::NewObject();
        if (!copy) return nullptr;
        json_object_object_foreach(source, key, member) {
            json_object* shared = json_object_get(member);
            if (json_object_object_add_ex(copy, key, shared, JSON_C_OBJECT_ADD_KEY_IS_NEW) != 0)
                json_object_put(shared);
        }
        return copy;
    }
    json_object* copy = jsonvalue::NewArray();
    if (!copy) return nullptr;
    size_t count = json_object_array_length(source);
    for (size_t i = 0; i < count; ++i) {
        json_object* shared = json_object_get(json_object_array_get_idx(source, i));
        if (json_object_array_add(copy, shared) != 0) json_object_put(shared);
    }
    return copy;
}

// True when `target` is a member or element of `value`, at any depth.
bool Contains(json_object* value, const json_object* target) {
    switch (jsonvalue::KindOf(value)) {
        case JSONType::Object: {
            json_object_object_foreach(value, key, member) {
                (void)key;
                if (member == target || Contains(member, target)) return true;
            }
            return false;
        }
        case JSONType::Array: {
            size_t count = json_object_array_length(value);
            for (size_t i = 0; i < count; ++i) {
                json_object* element = json_object_array_get_idx(value, i);
                if (element == target || Contains(element, target)) return true;
            }
            return false;
        }
        default: return false;
    }
}

// The value an argument is stored as, with one reference owned by the caller;
// null for the null kinds. `container` is the Object or Array it goes into.
json_object* ConvertArgument(const JsonArgument& argument, json_object* container) {
    switch (argument.kind()) {
        case JsonArgument::Text: return jsonvalue::NewString(argument.text().data(), argument.text().size());
        case JsonArgument::Integer: return jsonvalue::NewInteger(static_cast<int32_t>(argument.integer()));
        case JsonArgument::Long: return jsonvalue::NewLong(argument.integer());
        case JsonArgument::Double: return jsonvalue::NewDouble(argument.number());
        case JsonArgument::Boolean: return jsonvalue::NewBoolean(argument.integer() != 0);
        case JsonArgument::DateTime: return jsonvalue::NewDate(jsondate::DateTimeToSystemTime(argument.number()));
        case JsonArgument::Bytes: return jsonvalue::NewBinary(argument.text().data(), argument.text().size());
        case JsonArgument::Handle: {
            json_object* value = JsonHandleAccess::Value(*argument.handle());
            if (!value) return nullptr;
            // A container stored inside itself would make a cycle that is never
            // freed and never ends printing. The document itself goes in as a
            // one-level copy; a value that holds the document somewhere below
            // cannot go in at all and is stored as null.
            if (value == container) return ShallowCopy(value);
            if (Contains(value, container)) return nullptr;
            return json_object_get(value);
        }
        case JsonArgument::NullValue: break;
    }
    return nullptr;
}

JsonValue ReadMember(const json_object* member) {
    JsonValue result;
    switch (jsonvalue::KindOf(member)) {
        case JSONType::Boolean:
            result.kind = JsonValue::Boolean;
            result.boolean = json_object_get_boolean(member) != 0;
            break;
        case JSONType::Double:
            result.kind = JsonValue::Double;
            result.number = json_object_get_double(member);
            break;
        case JSONType::Integer:
            result.kind = JsonValue::Integer;
            result.integer = static_cast<int32_t>(json_object_get_int64(member));
            break;
        case JSONType::Long:
            result.kind = JsonValue::Long;
            result.longInteger = json_object_get_int64(member);
            break;
        case JSONType::String:
        case JSONType::Binary:
            result.kind = jsonvalue::KindOf(member) == JSONType::String ? JsonValue::Text : JsonValue::Bytes;
            result.text.assign(json_object_get_string(const_cast<json_object*>(member)),
                               static_cast<size_t>(json_object_get_string_len(member)));
            break;
        case JSONType::Date:
            result.kind = JsonValue::DateTime;
            result.number = jsondate::SystemTimeToDateTime(jsonvalue::DateOf(member));
            break;
        default: break;  // Object, Array, null: the Integer 0
    }
    return result;
}

}  // namespace

JSON::JSON() = default;

JSON::~JSON() { Release(); }

JSON::JSON(const JSON& other) : value_(json_object_get(other.value_)), invalid_(other.invalid_) {}

JSON& JSON::operator=(const JSON& other) {
    if (this != &other) {
        json_object* value = json_object_get(other.value_);
        Release();
        value_ = value;
        invalid_ = other.invalid_;
    }
    return *this;
}

JSON::JSON(JSON&& other) noexcept : value_(std::exchange(other.value_, nullptr)), invalid_(other.invalid_) {
    other.invalid_ = false;
}

JSON& JSON::operator=(JSON&& other) noexcept {
    if (this != &other) {
        Release();
        value_ = std::exchange(other.value_, nullptr);
        invalid_ = std::exchange(other.invalid_, false);
    }
    return *this;
}

void JSON::Release() {
    if (value_) json_object_put(value_);
    value_ = nullptr;
    invalid_ = false;
}

void JSON::Hold(json_object* value) {
    Release();
    value_ = value;
}

bool JSON::parse(std::string_view text) {
    Release();
    json_object* value = nullptr;
    if (!jsonparse::ParseText(text, &value)) {
        invalid_ = true;
        return false;
    }
    value_ = value;
    return true;
}

std::string JSON::toString() const {
    std::string text;
    if (!invalid_) jsonprint::AppendValue(text, value_);
    return text;
}

bool JSON::SetType(int type) {
    switch (type) {
        case JSONType::Null: Release(); return true;
        case JSONType::Object: Hold(jsonvalue::NewObject()); return true;
        case JSONType::Array: Hold(jsonvalue::NewArray()); return true;
        default: return false;
    }
}

void JSON::MakeObject() {
    if (jsonvalue::KindOf(value_) != JSONType::Object) Hold(jsonvalue::NewObject());
}

void JSON::MakeArray() {
    if (jsonvalue::KindOf(value_) != JSONType::Array) Hold(jsonvalue::NewArray());
}

void JSON::SetProperty(const char* name) { SetProperty(name, JsonArgument(nullptr)); }

void JSON::SetProperty(const char* name, const JsonArgument& value) {
    MakeObject();
    if (!value_) return;  // out of memory
    if (!name) name = "";
    json_object* member = ConvertArgument(value, value_);
    // Removing first moves a replaced member to the end of the member order.
    json_object_object_del(value_, name);
    if (json_object_object_add_ex(value_, name, member, JSON_C_OBJECT_ADD_KEY_IS_NEW) != 0) json_object_put(member);
}

JsonValue JSON::GetProperty(const char* name) const {
    json_object* member = nullptr;
    if (jsonvalue::KindOf(value_) != JSONType::Object ||
        !json_object_object_get_ex(value_, name ? name : "", &member)) {
        return JsonValue{};
    }
    return ReadMember(member);
}

JSON JSON::GetJsonProperty(const char* name) const {
    JSON result;
    json_object* member = nullptr;
    if (jsonvalue::KindOf(value_) == JSONType::Object && json_object_object_get_ex(value_, name ? name : "", &member)) {
        result.value_ = json_object_get(member);
    }
    return result;
}

int JSON::GetItemCount() const {
    if (jsonvalue::KindOf(value_) != JSONType::Array) return 0;
    return static_cast<int>(json_object_array_length(value_));
}

void JSON::AddItem() { MakeArray(); }

void JSON::AppendItem(const JsonArgument& value) {
    if (!value_) return;  // out of memory
    json_object* element = ConvertArgument(value, value_);
    if (json_object_array_add(value_, element) != 0) json_object_put(element);
}

JSON JSON::GetJsonItem(int index) const {
    JSON result;
    if (index >= 0 && index < GetItemCount()) result.value_ = json_object_get(json_object_array_get_idx(value_, index));
    return result;
}

bool JSON::KeyExists(const char* name) const {
    json_object* member = nullptr;
    return jsonvalue::KindOf(value_) == JSONType::Object &&
           json_object_object_get_ex(value_, name ? name : "", &member) && member != nullptr;
}
