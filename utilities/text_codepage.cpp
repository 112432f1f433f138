#include "utilities/text_codepage.h"

#include <objbase.h>

#include <cstring>

namespace {

// Sizes are counted under the code page that is actually converted: counting
// under the system code page loses or pads texts whose length differs between
// the two (invalid UTF-8 under 936, Chinese text under 1252). A length of -1
// reads up to the terminator and keeps it; a given length converts exactly
// those bytes and adds none.
WideBuffer ToWide(const char* text, int length, UINT codePage) {
    if (!text || length == 0 || !*text) return {};
    int units = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (units <= 0) return {};
    WideBuffer wide(units, L'\0');
    if (MultiByteToWideChar(codePage, 0, text, length, wide.data(), units) <= 0) return {};
    return wide;
}

std::string FromWide(const wchar_t* units, int count, UINT codePage) {
    if (!units || count == 0) return {};
    int bytes = WideCharToMultiByte(codePage, 0, units, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string text(bytes, '\0');
    if (WideCharToMultiByte(codePage, 0, units, count, text.data(), bytes, nullptr, nullptr) <= 0) return {};
    text.resize(strlen(text.c_str()));
    return text;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    WideBuffer wide = ToWide(utf8.data(), (int)utf8.size(), kCodePageUtf8);
    return FromWide(wide.data(), (int)wide.size(), kCodePageGbk);
}

std::string AnsiToUtf8(const char* text) {
    WideBuffer wide = MultiByteToWide(text, kCodePageGbk);
    return WideToMultiByte(wide, kCodePageUtf8);
}

WideBuffer MultiByteToWide(const char* text, std::optional<UINT> codePage) {
    return ToWide(text, -1, codePage.value_or(kCodePageUtf8));
}

std::string WideToMultiByte(const wchar_t* units, std::optional<UINT> codePage) {
    if (!units) return {};
    return FromWide(units, -1, codePage.value_or(kCodePageSystemAnsi));
}

std::string WideToMultiByte(const WideBuffer& wide, std::optional<UINT> codePage) {
    if (wide.empty()) return {};
    // The buffer may lack a terminator when a caller built it by hand; never read past it.
    size_t length = 0;
    while (length < wide.size() && wide[length] != L'\0') ++length;
    return FromWide(wide.data(), (int)length, codePage.value_or(kCodePageSystemAnsi));
}

WideBuffer AnsiToWide(const char* text) { return ToWide(text, -1, kCodePageGbk); }

GUID GuidFromText(const char* text) {
    GUID guid = {};
    WideBuffer wide = AnsiToWide(text);
    if (!wide.empty() && FAILED(CLSIDFromString(wide.data(), &guid))) guid = GUID{};
    return guid;
}
