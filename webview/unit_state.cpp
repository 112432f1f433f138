#include "webview/unit_state.h"

#include <map>
#include <set>

namespace {
std::set<const void*>& LiveStates() {
    static auto* states = new std::set<const void*>();
    return *states;
}
}  // namespace

WebViewUnitState::WebViewUnitState() { LiveStates().insert(this); }

WebViewUnitState::~WebViewUnitState() { LiveStates().erase(this); }

bool IsLiveUnitState(const void* state) { return state && LiveStates().count(state) != 0; }

WebViewUnitState* StateOfHostWindow(HWND hostWindow) {
    if (!hostWindow || !IsWindow(hostWindow)) return nullptr;
    auto* state = reinterpret_cast<WebViewUnitState*>(GetWindowLongPtrW(hostWindow, GWLP_USERDATA));
    return IsLiveUnitState(state) ? state : nullptr;
}

namespace {
std::map<std::pair<uint32_t, uint32_t>, HWND>& UnitWindows() {
    static auto* windows = new std::map<std::pair<uint32_t, uint32_t>, HWND>();
    return *windows;
}
}  // namespace

void RegisterUnitWindow(uint32_t formId, uint32_t unitId, HWND hostWindow) {
    UnitWindows()[{formId, unitId}] = hostWindow;
}

void UnregisterUnitWindow(uint32_t formId, uint32_t unitId, HWND hostWindow) {
    auto it = UnitWindows().find({formId, unitId});
    if (it != UnitWindows().end() && it->second == hostWindow) UnitWindows().erase(it);
}

HWND FindUnitHostWindow(uint32_t formId, uint32_t unitId) {
    auto it = UnitWindows().find({formId, unitId});
    return it == UnitWindows().end() ? nullptr : it->second;
}
