#include "webview/unit_properties.h"

#include "utilities/text_codepage.h"
#include "webview/engine_loader.h"
#include "webview/text_conversion.h"

namespace {

const char kChromeAgent[] =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/69.0.3497.100 "
    "Safari/537.36";

// The pick list's labels; "Winsows" is the spelling users have saved.
const struct {
    const char* label;
    const char* agent;
} kAgentLabels[] = {
    {"iPhone X",
     "Mozilla/5.0 (iPhone; CPU iPhone OS 11_0 like Mac OS X) AppleWebKit/604.1.38 (KHTML, like Gecko) "
     "Version/11.0 Mobile/15A372 Safari/604.1"},
    {"iPad Pro",
     "Mozilla/5.0 (iPad; CPU OS 11_0 like Mac OS X) AppleWebKit/604.1.34 (KHTML, like Gecko) Version/11.0 "
     "Mobile/15A5341f Safari/604.1"},
    {"\xB0\xB2\xD7\xBFGalaxy S5" /* 安卓Galaxy S5 */,
     "Mozilla/5.0 (Linux; Android 5.0; SM-G900P Build/LRX21T) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/69.0.3497.100 Mobile Safari/537.36"},
    {"Winsows Safari",
     "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/534.50 (KHTML, like Gecko) Version/5.1 Safari/534.50"},
    {"Winsows Chrome", kChromeAgent},
    {"\xC4\xAC\xC8\xCFUA" /* 默认UA */, kChromeAgent},
    {"Winsows Firefox", "Mozilla/5.0 (Windows NT 10.0; WOW64; rv:6.0) Gecko/20100101 Firefox/6.0"},
    {"Winsows Opera", "Opera/9.80 (Windows NT 10.0; U; zh-cn) Presto/2.9.168 Version/11.50"},
    {"Winsows IE9",
     "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 10.0; Win64; x64; Trident/5.0; .NET CLR 2.0.50727; SLCC2; "
     ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; InfoPath.3; .NET4.0C; Tablet PC 2.0; .NET4.0E)"},
    {"Winsows IE8",
     "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 10.0; WOW64; Trident/4.0; SLCC2; .NET CLR 2.0.50727; .NET CLR "
     "3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; .NET4.0C; InfoPath.3)"},
    {"Winsows IE7", "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 10.0; WOW64)"},
};

bool LoadingAllowed(const WebViewUnitState& state) { return !state.inDesigner || state.liveInDesigner; }

void WriteUrl(WebViewUnitState& state, const std::string& url) {
    wkeWebView view = state.view();
    if (view) {
        std::string utf8 = AnsiToUtf8(url);
        if (!utf8.empty() && LoadingAllowed(state)) ENGINE_CALL(wkeLoadURL)(view, utf8.c_str());
        if (url.empty()) ENGINE_CALL(wkeLoadHTML)(view, " ");
    }
    state.url = url;
}

}  // namespace

std::string AgentStringOfLabel(const std::string& label) {
    for (const auto& entry : kAgentLabels)
        if (label == entry.label) return entry.agent;
    return label;
}

std::string NormaliseFolder(const std::string& text, const std::string& baseFolder) {
    // An empty folder means "none"; making it "\" would name the drive root.
    if (text.empty()) return {};
    std::string folder = text;
    if (folder.compare(1, 2, ":\\") != 0) folder = baseFolder + folder;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

bool WriteUnitProperty(WebViewUnitState& state, int number, const PropertyValue& value) {
    wkeWebView view = state.view();
    switch (number) {
        case kPropertyUrl: WriteUrl(state, value.text); break;
        case kPropertyNoF5Reload: state.noF5Reload = value.number != 0; break;
        case kPropertyCookieEnabled:
            state.cookieEnabled = value.number != 0;
            if (view) ENGINE_CALL(wkeSetCookieEnabled)(view, value.number == 1);
            break;
        case kPropertyCacheFolder:
            state.cacheFolder = NormaliseFolder(value.text, state.baseFolder);
            if (view && !state.cacheFolder.empty())
                ENGINE_CALL(wkeSetLocalStorageFullPath)(view, GbkToWide(state.cacheFolder).c_str());
            break;
        case kPropertyCookieFolder:
            state.cookieFolder = NormaliseFolder(value.text, state.baseFolder);
            if (view && !state.cookieFolder.empty() && !state.inDesigner)
                ENGINE_CALL(wkeSetCookieJarPath)(view, GbkToWide(state.cookieFolder).c_str());
            break;
        case kPropertyUserAgent:
            state.userAgent = AgentStringOfLabel(value.text);
            if (view && LoadingAllowed(state)) {
                ENGINE_CALL(wkeSetUserAgent)(view, state.userAgent.c_str());
                ENGINE_CALL(wkeReload)(view);
            }
            break;
        case kPropertyLiveInDesigner:
            state.liveInDesigner = value.number != 0;
            if (!view) break;
            if (state.liveInDesigner) {
                if (!state.userAgent.empty()) ENGINE_CALL(wkeSetUserAgent)(view, state.userAgent.c_str());
                if (!state.url.empty()) ENGINE_CALL(wkeLoadURL)(view, state.url.c_str());
            } else {
                ENGINE_CALL(wkeLoadHTML)(view, " ");
            }
            break;
        case kPropertyAllowNewWindows:
            state.allowNewWindows = value.number != 0;
            if (view) ENGINE_CALL(wkeSetNavigationToNewWindowEnable)(view, value.number != 0);
            break;
    }
    return false;
}

bool ReadUnitProperty(const WebViewUnitState& state, int number, PropertyValue& value) {
    value = PropertyValue();
    switch (number) {
        case kPropertyUrl: value.text = state.url; return true;
        case kPropertyTitle: {
            // The engine's UTF-8 title, passed on as it is.
            const char* title = state.view() ? ENGINE_CALL(wkeGetTitle)(state.view()) : nullptr;
            value.text = title ? title : "";
            return true;
        }
        case kPropertyNoF5Reload: value.number = state.noF5Reload; return true;
        case kPropertyCookieEnabled: value.number = state.cookieEnabled; return true;
        case kPropertyCacheFolder: value.text = state.cacheFolder; return true;
        case kPropertyCookieFolder: value.text = state.cookieFolder; return true;
        case kPropertyUserAgent: value.text = state.userAgent; return true;
        case kPropertyLiveInDesigner: value.number = state.liveInDesigner; return false;
        case kPropertyAllowNewWindows: value.number = state.allowNewWindows; return true;
    }
    return false;
}
