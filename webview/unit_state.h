// The state of one placed web view unit, and the engine binding it owns.
#pragma once

#include "webview/engine_boundary.h"
#include "webview/paint_surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the unit holds of its engine view. Deleting it does not destroy the
// view: the view goes with its window.
struct EngineBinding {
    wkeWebView view = 0;
    std::unique_ptr<PaintSurface> paintSurface;
    // Popups this unit opened; their callbacks carry the unit's state too.
    std::vector<wkeWebView> popups;
};

struct WebViewUnitState {
    uint32_t formId = 0;
    uint32_t unitId = 0;
    uint32_t controlId = 0;
    std::unique_ptr<EngineBinding> binding = std::make_unique<EngineBinding>();
    bool inDesigner = false;
    bool liveInDesigner = false;
    HWND hostWindow = nullptr;
    HWND viewWindow = nullptr;
    std::string url;
    bool noF5Reload = false;
    bool cookieEnabled = false;
    bool allowNewWindows = false;
    std::string cacheFolder;
    std::string cookieFolder;
    std::string userAgent;
    std::string baseFolder;

    WebViewUnitState();
    ~WebViewUnitState();
    WebViewUnitState(const WebViewUnitState&) = delete;
    WebViewUnitState& operator=(const WebViewUnitState&) = delete;

    wkeWebView view() const { return binding ? binding->view : 0; }
};

// Whether a pointer names a state object that still exists. Engine callbacks
// check their parameter with it before they touch the unit.
bool IsLiveUnitState(const void* state);

// The state object kept in a host window's user-data slot, or null.
WebViewUnitState* StateOfHostWindow(HWND hostWindow);

// The host framework's map from a placed unit (form id, unit id) to its host
// window, kept from unit creation until the host window is gone.
void RegisterUnitWindow(uint32_t formId, uint32_t unitId, HWND hostWindow);
void UnregisterUnitWindow(uint32_t formId, uint32_t unitId, HWND hostWindow);
HWND FindUnitHostWindow(uint32_t formId, uint32_t unitId);
