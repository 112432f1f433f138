#include "webview/webview_unit.h"

#include "webview/engine_loader.h"
#include "webview/host_window.h"
#include "webview/saved_properties.h"
#include "webview/text_conversion.h"
#include "webview/view_events.h"

#include <memory>

namespace {
// Child, visible, clip-siblings and 0x100, added to the host's style.
const DWORD kHostStyleBits = 0x54000100;
}  // namespace

HWND CreateWebViewUnit(const UnitCreation& creation) {
    auto state = std::make_unique<WebViewUnitState>();
    SavedUnitProperties saved;
    if (creation.savedData && creation.savedLength > 0) {
        if (!ReadSavedProperties(creation.savedData, creation.savedLength, saved)) return nullptr;
        state->noF5Reload = saved.noF5Reload != 0;
        state->cookieEnabled = saved.cookieEnabled != 0;
        state->url = saved.url;
        state->cacheFolder = saved.cacheFolder;
        state->cookieFolder = saved.cookieFolder;
        state->userAgent = saved.userAgent;
        state->allowNewWindows = saved.allowNewWindows != 0;
    }
    if (!CreateHostWindow(creation.parent, creation.style | kHostStyleBits, creation.controlId, creation.x, creation.y,
                          creation.width, creation.height, state.get()))
        return nullptr;
    HWND unit = state->hostWindow;
    state->formId = creation.formId;
    state->unitId = creation.unitId;
    state->controlId = creation.controlId;
    state->inDesigner = creation.inDesigner;
    RegisterUnitWindow(creation.formId, creation.unitId, unit);
    WebViewUnitState* live = state.release();  // owned by the host window from here on
    SetWindowLongPtrW(unit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(live));
    wkeWebView view = live->view();
    if (!live->userAgent.empty()) ENGINE_CALL(wkeSetUserAgent)(view, live->userAgent.c_str());
    std::wstring cacheFolder = GbkToWide(live->cacheFolder);
    if (!cacheFolder.empty()) ENGINE_CALL(wkeSetLocalStorageFullPath)(view, cacheFolder.c_str());
    std::wstring cookieFolder = GbkToWide(live->cookieFolder);
    if (!cookieFolder.empty()) ENGINE_CALL(wkeSetCookieJarPath)(view, cookieFolder.c_str());
    if (!live->inDesigner) {
        if (!live->url.empty()) ENGINE_CALL(wkeLoadURL)(view, live->url.c_str());
        ENGINE_CALL(wkeSetNavigationToNewWindowEnable)(view, live->allowNewWindows);
        BindViewEvents(view, live);
    }
    return unit;
}

WebViewUnitState* StateOfUnit(HWND unit) { return StateOfHostWindow(unit); }

bool WriteWebViewProperty(HWND unit, int number, const PropertyValue& value) {
    WebViewUnitState* state = StateOfUnit(unit);
    return state ? WriteUnitProperty(*state, number, value) : false;
}

bool ReadWebViewProperty(HWND unit, int number, PropertyValue& value) {
    WebViewUnitState* state = StateOfUnit(unit);
    return state ? ReadUnitProperty(*state, number, value) : false;
}

HGLOBAL SaveWebViewProperties(HWND unit, size_t* length) {
    WebViewUnitState* state = StateOfUnit(unit);
    SavedUnitProperties saved;
    if (state) {
        saved.noF5Reload = state->noF5Reload;
        saved.cookieEnabled = state->cookieEnabled;
        saved.url = state->url;
        saved.cacheFolder = state->cacheFolder;
        saved.cookieFolder = state->cookieFolder;
        saved.userAgent = state->userAgent;
        saved.allowNewWindows = state->allowNewWindows;
    }
    return SavedPropertiesBlock(saved, length);
}

bool WebViewSizingQuery(int index, int* width, int* height) {
    if (index != 0) return false;
    if (width) *width = 200;
    if (height) *height = 100;
    return true;
}

bool WebViewPropertyEditable(HWND, int) { return true; }

bool WebViewCustomizeDialogSetup(HWND unit) {
    StateOfUnit(unit);
    return false;
}
