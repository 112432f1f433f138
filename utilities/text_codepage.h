// Conversions between the program's GBK texts (code page 936), the daemon's
// UTF-8 and the UTF-16 of COM and the browser engine.
//
// Texts are zero-terminated byte strings; a null pointer and "" are both the
// empty text. Every function returns a new value owned by the caller. None
// reports failure: a conversion the platform refuses gives the empty result.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-16 units ending with one zero unit; an empty vector is the empty buffer.
using WideBuffer = std::vector<wchar_t>;

constexpr UINT kCodePageGbk = 936;
constexpr UINT kCodePageUtf8 = 65001;
constexpr UINT kCodePageSystemAnsi = 0;

// UTF-8 bytes (length given; an embedded zero byte ends the result) to GBK.
std::string Utf8ToAnsi(std::string_view utf8);

// GBK text to a text holding UTF-8 bytes.
std::string AnsiToUtf8(const char* text);
inline std::string AnsiToUtf8(const std::string& text) { return AnsiToUtf8(text.c_str()); }

// Text in codePage (UTF-8 when not given) to UTF-16 with terminator.
WideBuffer MultiByteToWide(const char* text, std::optional<UINT> codePage = std::nullopt);

// Zero-terminated UTF-16 to a text in codePage (the system's ANSI code page when not given).
std::string WideToMultiByte(const wchar_t* units, std::optional<UINT> codePage = std::nullopt);
std::string WideToMultiByte(const WideBuffer& wide, std::optional<UINT> codePage = std::nullopt);

// GBK text to UTF-16 with terminator.
WideBuffer AnsiToWide(const char* text);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to a GUID; all zero when it does not parse.
GUID GuidFromText(const char* text);

inline const char* GetTextPointer(const char* text) { return text; }
inline const char* GetTextPointer(const std::string& text) { return text.c_str(); }

// First data byte, or null for an empty buffer.
inline const void* GetBytesPointer(const WideBuffer& buffer) { return buffer.empty() ? nullptr : buffer.data(); }
inline const void* GetBytesPointer(std::string_view bytes) { return bytes.empty() ? nullptr : bytes.data(); }
