#include "webview/commands.h"

#include "webview/engine_loader.h"
#include "webview/text_conversion.h"
#include "webview/unit_state.h"

#include <algorithm>

void NetHookRequest(wkeNetJob job) { ENGINE_CALL(wkeNetHookRequest)(job); }

void NetSetData(wkeNetJob job, const std::string& data, std::optional<int> length) {
    int size = (int)std::min<size_t>(data.size(), INT32_MAX);
    // A length beyond the data would have the engine read past it.
    int count = length ? std::clamp(*length, 0, size) : size;
    ENGINE_CALL(wkeNetSetData)(job, count ? const_cast<char*>(data.data()) : nullptr, count);
}

void NetCancelRequest(wkeNetJob job) { ENGINE_CALL(wkeNetCancelRequest)(job); }

std::vector<std::string> NetGetRawResponseHead(wkeNetJob job) {
    std::vector<std::string> texts;
    for (const wkeSlist* node = ENGINE_CALL(wkeNetGetRawResponseHead)(job); node && texts.size() < 100000;
         node = node->next)
        texts.emplace_back(node->str ? node->str : "");
    return texts;
}

jsExecState GlobalExec(wkeWebView view) { return view ? ENGINE_CALL(wkeGlobalExec)(view) : 0; }

jsValue RunJs(wkeWebView view, const std::string& script) {
    if (!view) return 0;
    std::wstring wide = GbkToWide(script);
    return ENGINE_CALL(wkeRunJSW)(view, wide.c_str());
}

std::string JsValueToText(jsExecState state, jsValue value) {
    const char* text = ENGINE_CALL(jsToString)(state, value);
    return text ? std::string(text) : std::string();
}

wkeWebView GetWebView(uint32_t formId, uint32_t unitId) {
    WebViewUnitState* state = StateOfHostWindow(FindUnitHostWindow(formId, unitId));
    return state ? state->view() : 0;
}

void LoadUrl(uint32_t formId, uint32_t unitId, const std::string& url) {
    wkeWebView view = GetWebView(formId, unitId);
    // The bytes go to the engine as given, without a code-page change.
    if (view) ENGINE_CALL(wkeLoadURL)(view, url.c_str());
}
