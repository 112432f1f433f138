#include "launcher/ui/web_view_unit.h"

#include <memory>

#include "launcher/ui/window.h"
#include "webview/webview_unit.h"

WebViewUnit::WebViewUnit(Window* owner, std::string name, uint32_t formId, uint32_t unitId)
    : Unit(owner, std::move(name)), formId_(formId), unitId_(unitId) {}

WebViewUnit::~WebViewUnit() {
    // The control's window goes with its parent; a late event must find no
    // handler that still points into this unit's window.
    UnbindUnitEvents(formId_, unitId_);
}

WebViewUnit* WebViewUnit::Create(Window* owner, const std::string& name, uint32_t formId, uint32_t unitId, int x, int y,
                                 int width, int height) {
    if (!owner || !owner->Handle()) return nullptr;
    UnitCreation creation;
    creation.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    creation.parent = owner->Handle();
    creation.x = x;
    creation.y = y;
    creation.width = width;
    creation.height = height;
    creation.formId = formId;
    creation.unitId = unitId;
    HWND control = CreateWebViewUnit(creation);
    if (!control) return nullptr;
    std::unique_ptr<WebViewUnit> unit(new WebViewUnit(owner, name, formId, unitId));
    unit->Attach(control);
    WebViewUnit* raw = unit.get();
    owner->AddUnit(std::move(unit));
    return raw;
}

void WebViewUnit::On(int eventNumber, UnitEventHandler handler) {
    BindUnitEvent(formId_, unitId_, eventNumber, std::move(handler));
}
