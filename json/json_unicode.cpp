#include "json/json_unicode.h"

#include "utilities/text_codepage.h"

namespace jsonunicode {
namespace {

constexpr UINT kCodePageGb18030 = 54936;

}  // namespace

void AppendCharacter(std::string& out, wchar_t unit, wchar_t low) {
    const wchar_t units[3] = {unit, low, L'\0'};
    std::string bytes = WideToMultiByte(units, kCodePageGb18030);
    if (bytes.empty()) bytes = WideToMultiByte(units, kCodePageGbk);
    out += bytes;
}

void AppendReplacement(std::string& out) {
    // GB18030 has U+FFFD itself; code page 936 gives its default character.
    AppendCharacter(out, L'\xFFFD');
}

}  // namespace jsonunicode
