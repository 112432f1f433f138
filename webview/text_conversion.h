// Texts of the web view library: the host program's GBK bytes and the
// engine's UTF-16 texts, held in std::string and std::wstring. The engine's
// UTF-8 goes through utilities/text_codepage.h (Utf8ToAnsi, AnsiToUtf8). An
// empty input, or a conversion the system refuses, gives the empty text.
#pragma once

#include <string>

// GBK bytes (up to the first zero byte) to UTF-16.
std::wstring GbkToWide(const std::string& gbk);
// Zero-terminated UTF-16 (null gives empty) to GBK bytes.
std::string WideToGbk(const wchar_t* text);
