// Engine callbacks of a unit's view. Each checks its state object first;
// without a live unit, or in the designer, it raises nothing and gives the
// engine the fixed answer of its event. No exception leaves a callback.
#include "webview/view_events.h"

#include "utilities/guarded_call.h"

#include "utilities/text_codepage.h"
#include "webview/engine_loader.h"
#include "webview/event_call.h"
#include "webview/file_dialog_hook.h"
#include "webview/text_conversion.h"

#include <algorithm>

WebViewUnitState* FileDialogUnit = nullptr;

namespace {

WebViewUnitState* ActiveUnit(void* param) {
    if (!IsLiveUnitState(param)) return nullptr;
    auto* state = static_cast<WebViewUnitState*>(param);
    return state->inDesigner ? nullptr : state;
}

// An engine string object as GBK.
std::string EngineText(wkeString text) {
    if (!text) return {};
    return WideToGbk(ENGINE_CALL(wkeGetStringW)(text));
}

std::string Bytes(const char* text) { return text ? std::string(text) : std::string(); }

void WKE_CALL OnTitleChanged(wkeWebView, void* param, wkeString title) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = EngineText(title);
            EventCall(*state, kEventTitleChanged).Text(text).Raise();
        }
    });
}

void WKE_CALL OnMouseOverUrlChanged(wkeWebView, void* param, wkeString url) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = EngineText(url);
            EventCall(*state, kEventMouseOverUrlChanged).Text(text).Raise();
        }
    });
}

void WKE_CALL OnUrlChanged(wkeWebView, void* param, wkeWebFrameHandle frame, wkeString url) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = EngineText(url);
            EventCall(*state, kEventUrlChanged).Text(text).Int(frame).Raise();
        }
    });
}

void WKE_CALL OnAlertBox(wkeWebView, void* param, wkeString message) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = EngineText(message);
            EventCall(*state, kEventAlertBox).Text(text).Raise();
        }
    });
}

bool WKE_CALL OnConfirmBox(wkeWebView, void* param, wkeString message) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return true;
        std::string text = EngineText(message);
        return !ReturnedFalse(EventCall(*state, kEventConfirmBox).Text(text).Raise());
    });
}

bool WKE_CALL OnPromptBox(wkeWebView, void* param, wkeString message, wkeString defaultResult, wkeString) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return true;
        std::string text = EngineText(message), defaultText = EngineText(defaultResult);
        return !ReturnedFalse(EventCall(*state, kEventPromptBox).Text(text).Text(defaultText).Raise());
    });
}

bool WKE_CALL OnNavigation(wkeWebView, void* param, int navigationType, wkeString url) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return true;
        std::string text = EngineText(url);
        return !ReturnedFalse(EventCall(*state, kEventNavigation).Int(navigationType).Text(text).Raise());
    });
}

void WKE_CALL OnDocumentReady(wkeWebView, void* param, wkeWebFrameHandle frame) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) EventCall(*state, kEventDocumentReady).Int(frame).Raise();
    });
}

void WKE_CALL OnFavicon(wkeWebView, void* param, const char* url, const void* data, int length) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = Bytes(url);
            EventCall(*state, kEventFaviconReceived)
                .Text(text)
                .Int(data ? (int64_t)(intptr_t)data : 0)
                .Int(data ? length : 0)
                .Raise();
        }
    });
}

void WKE_CALL OnLoadingFinish(wkeWebView view, void* param, wkeString url, int result, wkeString failedReason) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string urlText = EngineText(url), reason = EngineText(failedReason);
            ENGINE_CALL(wkeNetGetFavicon)(view, OnFavicon, state);
            EventCall(*state, kEventLoadingFinish).Text(urlText).Int(result).Text(reason).Raise();
        }
    });
}

bool WKE_CALL OnDownload(wkeWebView, void* param, const char* url) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return true;
        // The download URL goes to the application as the engine's UTF-8 bytes.
        std::string text = Bytes(url);
        return ReturnedFalse(EventCall(*state, kEventDownloadRequest).Text(text).Raise());
    });
}

void WKE_CALL OnConsole(wkeWebView, void* param, int level, wkeString message, wkeString sourceName,
                        unsigned sourceLine, wkeString stackTrace) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = EngineText(message), source = EngineText(sourceName), stack = EngineText(stackTrace);
            EventCall(*state, kEventConsoleMessage)
                .Int(level)
                .Int(sourceLine)
                .Text(text)
                .Text(source)
                .Text(stack)
                .Raise();
        }
    });
}

bool WKE_CALL OnLoadUrlBegin(wkeWebView, void* param, const char* url, wkeNetJob job) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return false;
        std::string text = Utf8ToAnsi(Bytes(url));
        EventOutcome outcome = EventCall(*state, kEventLoadUrlBegin).Text(text).Int(job).Raise();
        return outcome.handled && !ReturnedFalse(outcome);
    });
}

void WKE_CALL OnLoadUrlEnd(wkeWebView, void* param, const char* url, wkeNetJob job, void* buf, int len) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            std::string text = Utf8ToAnsi(Bytes(url));
            EventCall(*state, kEventLoadUrlEnd).Text(text).Int(job).Int((int64_t)(intptr_t)buf).Int(len).Raise();
        }
    });
}

bool WKE_CALL OnPopupClosing(wkeWebView view, void* param) {
    return GuardedCall([&]() {
        WebViewUnitState* state = ActiveUnit(param);
        if (!state) return false;
        return !ReturnedFalse(EventCall(*state, kEventPopupClosing).Int(view).Raise());
    });
}

void WKE_CALL OnPopupDestroyed(wkeWebView view, void* param) {
    GuardedCall([&]() {
        if (WebViewUnitState* state = ActiveUnit(param)) {
            auto& popups = state->binding->popups;
            popups.erase(std::remove(popups.begin(), popups.end(), view), popups.end());
            EventCall(*state, kEventPopupDestroyed).Int(view).Raise();
        }
    });
}

// Registers a popup's callbacks with state as their parameter, or takes them
// back when state is null.
void SetPopupCallbacks(wkeWebView popup, WebViewUnitState* state) {
    ENGINE_CALL(wkeOnCreateView)(popup, state ? OnCreateView : nullptr, state);
    ENGINE_CALL(wkeOnWindowClosing)(popup, state ? OnPopupClosing : nullptr, state);
    ENGINE_CALL(wkeOnWindowDestroy)(popup, state ? OnPopupDestroyed : nullptr, state);
}

// Registers the view's callbacks with state as their parameter, or takes them
// back when state is null.
void SetViewCallbacks(wkeWebView view, WebViewUnitState* state) {
    ENGINE_CALL(wkeOnTitleChanged)(view, state ? OnTitleChanged : nullptr, state);
    ENGINE_CALL(wkeOnMouseOverUrlChanged)(view, state ? OnMouseOverUrlChanged : nullptr, state);
    ENGINE_CALL(wkeOnURLChanged2)(view, state ? OnUrlChanged : nullptr, state);
    ENGINE_CALL(wkeOnAlertBox)(view, state ? OnAlertBox : nullptr, state);
    ENGINE_CALL(wkeOnConfirmBox)(view, state ? OnConfirmBox : nullptr, state);
    ENGINE_CALL(wkeOnPromptBox)(view, state ? OnPromptBox : nullptr, state);
    ENGINE_CALL(wkeOnNavigation)(view, state ? OnNavigation : nullptr, state);
    ENGINE_CALL(wkeOnCreateView)(view, state ? OnCreateView : nullptr, state);
    ENGINE_CALL(wkeOnDocumentReady2)(view, state ? OnDocumentReady : nullptr, state);
    ENGINE_CALL(wkeOnLoadingFinish)(view, state ? OnLoadingFinish : nullptr, state);
    ENGINE_CALL(wkeOnDownload)(view, state ? OnDownload : nullptr, state);
    ENGINE_CALL(wkeOnConsole)(view, state ? OnConsole : nullptr, state);
    ENGINE_CALL(wkeOnLoadUrlBegin)(view, state ? OnLoadUrlBegin : nullptr, state);
    ENGINE_CALL(wkeOnLoadUrlEnd)(view, state ? OnLoadUrlEnd : nullptr, state);
}

wkeWebView OpenPopup(WebViewUnitState& state, int navigationType, wkeString url, const wkeWindowFeatures* features) {
    std::string text = EngineText(url);
    if (ReturnedFalse(EventCall(state, kEventCreateView).Int(navigationType).Text(text).Raise())) return 0;
    if (!state.allowNewWindows) return 0;
    int32_t parent = 0;
    int32_t x = features ? features->x : 0, y = features ? features->y : 0;
    int32_t width = features ? features->width : 0, height = features ? features->height : 0;
    EventCall(state, kEventBeforePopup).IntRef(parent).IntRef(x).IntRef(y).IntRef(width).IntRef(height).Raise();
    wkeWebView popup = ENGINE_CALL(wkeCreateWebWindow)(WKE_WINDOW_TYPE_POPUP, reinterpret_cast<HWND>((intptr_t)parent),
                                                       x, y, width, height);
    if (!popup) return 0;
    AttachPopupWindow(ENGINE_CALL(wkeGetWindowHandle)(popup), popup);
    state.binding->popups.push_back(popup);
    EventCall(state, kEventPopupCreated).Int(popup).Raise();
    ENGINE_CALL(wkeSetWindowTitleW)(popup, L"\u5c9a\u77f3Web\u6d4f\u89c8\u5668" /* 岚石Web浏览器 */);
    ENGINE_CALL(wkeShowWindow)(popup, true);
    SetPopupCallbacks(popup, &state);
    ENGINE_CALL(wkeSetNavigationToNewWindowEnable)(popup, true);
    return popup;
}

}  // namespace

wkeWebView WKE_CALL OnCreateView(wkeWebView, void* param, int navigationType, wkeString url,
                                 const wkeWindowFeatures* features) {
    return GuardedCall([&]() -> wkeWebView {
        WebViewUnitState* state = ActiveUnit(param);
        return state ? OpenPopup(*state, navigationType, url, features) : 0;
    });
}

void BindViewEvents(wkeWebView view, WebViewUnitState* state) {
    if (!FileDialogUnit) FileDialogUnit = state;
    SetViewCallbacks(view, state);
    InstallFileDialogHook();
}

void UnbindViewEvents(WebViewUnitState& state) {
    EngineBinding& binding = *state.binding;
    // Nothing to take back from an engine that was never loaded, or from a view never made.
    if (!EngineLoaded() || !binding.view) return;
    wkeWebView view = binding.view;
    ENGINE_CALL(wkeOnPaintUpdated)(view, nullptr, nullptr);
    if (!state.inDesigner) SetViewCallbacks(view, nullptr);
    for (wkeWebView popup : binding.popups) SetPopupCallbacks(popup, nullptr);
    binding.popups.clear();
}
