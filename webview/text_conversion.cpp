#include "webview/text_conversion.h"

#include "utilities/text_codepage.h"

std::wstring BytesToWide(const std::string& bytes, unsigned codePage) {
    WideBuffer wide = MultiByteToWide(bytes.c_str(), codePage);
    return wide.empty() ? std::wstring() : std::wstring(wide.data());
}

std::string WideToBytes(const wchar_t* text, unsigned codePage) { return WideToMultiByte(text, codePage); }

std::string Utf8ToGbk(const std::string& utf8) {
    return WideToBytes(BytesToWide(utf8, kWebViewCodePageUtf8), kWebViewCodePageGbk);
}

std::string GbkToUtf8(const std::string& gbk) {
    return WideToBytes(BytesToWide(gbk, kWebViewCodePageGbk), kWebViewCodePageUtf8);
}
