// Texts of the web view library: the host program's GBK bytes, the engine's
// UTF-8 bytes and its UTF-16 texts. They are held in std::string and
// std::wstring; the conversions below are the only code-page changes the
// library makes. An empty input, or a conversion the system refuses, gives
// the empty text.
#pragma once

#include <string>

constexpr unsigned kWebViewCodePageGbk = 936;
constexpr unsigned kWebViewCodePageUtf8 = 65001;

// Bytes in codePage (up to the first zero byte) to UTF-16.
std::wstring BytesToWide(const std::string& bytes, unsigned codePage);
// Zero-terminated UTF-16 (null gives empty) to bytes in codePage.
std::string WideToBytes(const wchar_t* text, unsigned codePage);
inline std::string WideToBytes(const std::wstring& text, unsigned codePage) {
    return WideToBytes(text.c_str(), codePage);
}

inline std::wstring GbkToWide(const std::string& gbk) { return BytesToWide(gbk, kWebViewCodePageGbk); }
inline std::string WideToGbk(const wchar_t* text) { return WideToBytes(text, kWebViewCodePageGbk); }

// UTF-8 to UTF-16 to GBK.
std::string Utf8ToGbk(const std::string& utf8);
// GBK to UTF-16 to UTF-8.
std::string GbkToUtf8(const std::string& gbk);
