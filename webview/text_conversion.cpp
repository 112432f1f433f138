#include "webview/text_conversion.h"

#include "utilities/text_codepage.h"

std::wstring GbkToWide(const std::string& gbk) {
    WideBuffer wide = AnsiToWide(gbk.c_str());
    return wide.empty() ? std::wstring() : std::wstring(wide.data());
}

std::string WideToGbk(const wchar_t* text) { return WideToMultiByte(text, kCodePageGbk); }
