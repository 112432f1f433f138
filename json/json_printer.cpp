#include "json/json_printer.h"

#include <json-c/json.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "json/base64.h"
#include "json/json.h"
#include "json/json_date.h"
#include "json/json_unicode.h"
#include "json/json_value_kinds.h"
#include "utilities/text_search.h"

namespace jsonprint {
namespace {

enum ByteClass : unsigned char { kPlain, kEscape, kLead };

struct ByteTable {
    ByteClass byteClass[256];
    char shortEscape[256];  // the letter after the backslash, or 0 for \u00xx

    constexpr ByteTable() : byteClass(), shortEscape() {
        for (int b = 0; b < 0x20; ++b) byteClass[b] = kEscape;
        byteClass['"'] = byteClass['\\'] = byteClass['/'] = kEscape;
        for (int b = 0x81; b <= 0xFE; ++b) byteClass[b] = kLead;
        shortEscape['\b'] = 'b';
        shortEscape['\t'] = 't';
        shortEscape['\n'] = 'n';
        shortEscape['\r'] = 'r';
        shortEscape['"'] = '"';
        shortEscape['\\'] = '\\';
        shortEscape['/'] = '/';
    }
};

constexpr ByteTable kBytes;

void AppendInteger(std::string& out, int64_t value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    // Counting in the negative range covers INT64_MIN, which has no positive twin.
    int64_t rest = value < 0 ? value : -value;
    do {
        *--p = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) *--p = '-';
    out.append(p, end);
}

void AppendDouble(std::string& out, double value) {
    // "%f" has no text for infinities and NaN that JSON could read back.
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    // mingw's own formatter, not msvcrt's: the same digits under Wine and Windows.
    char text[400];
    int length = __mingw_snprintf(text, sizeof text, "%f", value);
    if (length > 0) out.append(text, static_cast<size_t>(length) < sizeof text ? length : sizeof text - 1);
}

void AppendUnitEscape(std::string& out, unsigned unit) {
    static const char kHex[] = "0123456789abcdef";
    char escape[6] = {'\\', 'u', kHex[unit >> 12 & 15], kHex[unit >> 8 & 15], kHex[unit >> 4 & 15], kHex[unit & 15]};
    out.append(escape, sizeof escape);
}

void AppendEscaped(std::string& out, const char* bytes, size_t length) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* end = p + length;
    while (p < end) {
        const unsigned char* run = p;
        while (p < end && kBytes.byteClass[*p] == kPlain) ++p;
        out.append(reinterpret_cast<const char*>(run), p - run);
        if (p == end) break;
        unsigned char b = *p;
        if (kBytes.byteClass[b] == kLead && end - p >= 2) {
            // A double-byte character goes out whole, whatever its second
            // byte is (0x5C and 0x22 are ordinary trail bytes in GBK).
            size_t take = 2;
            // GB18030's four-byte characters: a digit-range second byte
            // followed by another lead byte and its own second byte. Short of
            // that this is no four-byte character, and the bytes after it
            // are written as usual, so a stray quote cannot end the string
            // early and a last lead byte gets its escape.
            if (end - p >= 4 && p[1] >= 0x2A && p[1] <= 0x3F && IsGbkLeadByte(p[2])) take = 4;
            out.append(reinterpret_cast<const char*>(p), take);
            p += take;
            continue;
        }
        char letter = kBytes.shortEscape[b];
        if (letter) {
            out += '\\';
            out += letter;
        } else {
            // The other control bytes, the zero byte included, as \u00xx;
            // a lead byte that ends the text as its lone-byte unit.
            AppendUnitEscape(out, kBytes.byteClass[b] == kLead ? jsonunicode::kLoneByteUnitBase + b : b);
        }
        ++p;
    }
}

void AppendQuoted(std::string& out, const char* bytes, size_t length) {
    out += '"';
    AppendEscaped(out, bytes, length);
    out += '"';
}

void AppendObject(std::string& out, json_object* object) {
    out += '{';
    bool first = true;
    for (lh_entry* entry = lh_table_head(json_object_get_object(object)); entry; entry = lh_entry_next(entry)) {
        if (!first) out += ',';
        first = false;
        const char* key = static_cast<const char*>(lh_entry_k(entry));
        AppendQuoted(out, key, strlen(key));
        out += ':';
        AppendValue(out, static_cast<const json_object*>(lh_entry_v(entry)));
    }
    out += '}';
}

void AppendArray(std::string& out, json_object* array) {
    out += '[';
    size_t count = json_object_array_length(array);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) out += ',';
        AppendValue(out, json_object_array_get_idx(array, i));
    }
    out += ']';
}

std::string_view StringBytes(const json_object* value) {
    return {json_object_get_string(const_cast<json_object*>(value)),
            static_cast<size_t>(json_object_get_string_len(value))};
}

}  // namespace

void AppendValue(std::string& out, const json_object* value) {
    json_object* v = const_cast<json_object*>(value);
    switch (jsonvalue::KindOf(value)) {
        case JSONType::Boolean: out += json_object_get_boolean(v) ? "true" : "false"; break;
        case JSONType::Double: AppendDouble(out, json_object_get_double(v)); break;
        case JSONType::Integer:
        case JSONType::Long: AppendInteger(out, json_object_get_int64(v)); break;
        case JSONType::Object: AppendObject(out, v); break;
        case JSONType::Array: AppendArray(out, v); break;
        case JSONType::String: {
            std::string_view bytes = StringBytes(v);
            AppendQuoted(out, bytes.data(), bytes.size());
            break;
        }
        case JSONType::Date:
            out += '#';
            out += jsondate::FormatInternetTime(jsonvalue::DateOf(v));
            out += '#';
            break;
        case JSONType::Binary:
            out += '<';
            out += Base64Encode(StringBytes(v));
            out += '>';
            break;
        default: out += "null"; break;
    }
}

}  // namespace jsonprint
