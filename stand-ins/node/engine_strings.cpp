// Engine string objects: the texts handed to callbacks. Each lives for the
// duration of one callback, as in the engine the library was written against.
#include "standin.h"

#include <map>
#include <mutex>

namespace standin {

namespace {
std::mutex stringsMutex;
std::map<wkeString, std::wstring>& Strings() {
    static std::map<wkeString, std::wstring> strings;
    return strings;
}
wkeString nextString = 0x5000;
}  // namespace

std::string WideToUtf8(const wchar_t* text) {
    if (!text || !*text) return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string out(bytes - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return {};
    int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    if (units <= 0) return {};
    std::wstring out(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), out.data(), units);
    return out;
}

ScopedEngineString::ScopedEngineString(const std::string& utf8) {
    std::lock_guard<std::mutex> lock(stringsMutex);
    handle_ = ++nextString;
    Strings()[handle_] = Utf8ToWide(utf8);
}

ScopedEngineString::~ScopedEngineString() {
    std::lock_guard<std::mutex> lock(stringsMutex);
    Strings().erase(handle_);
}

const wchar_t* EngineStringText(wkeString handle) {
    std::lock_guard<std::mutex> lock(stringsMutex);
    auto it = Strings().find(handle);
    // The map never moves its nodes, so the text stays put until the string ends.
    return it == Strings().end() ? nullptr : it->second.c_str();
}

}  // namespace standin

extern "C" const wchar_t* WKE_CALL wkeGetStringW(wkeString string) {
    // Not logged: the library reads every text this way, and the lines would
    // only bury the calls a test looks for.
    const wchar_t* text = standin::EngineStringText(string);
    return text ? text : L"";
}
