#include "json/json_unicode.h"

#include "utilities/text_codepage.h"

namespace jsonunicode {
namespace {

constexpr UINT kCodePageGb18030 = 54936;

// Wine has no table for 54936, and every attempt to convert with it searches
// for the table again (close to a millisecond each), so the first answer is kept.
UINT EscapeCodePage() {
    static const UINT codePage = IsValidCodePage(kCodePageGb18030) ? kCodePageGb18030 : kCodePageGbk;
    return codePage;
}

}  // namespace

void AppendCharacter(std::string& out, wchar_t unit, wchar_t low) {
    const wchar_t units[3] = {unit, low, L'\0'};
    std::string bytes = WideToMultiByte(units, EscapeCodePage());
    if (bytes.empty() && EscapeCodePage() != kCodePageGbk) bytes = WideToMultiByte(units, kCodePageGbk);
    out += bytes;
}

void AppendReplacement(std::string& out) {
    // GB18030 has U+FFFD itself; code page 936 gives its default character.
    AppendCharacter(out, L'\xFFFD');
}

}  // namespace jsonunicode
