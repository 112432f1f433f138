// The web view control as a unit of a window of this layer. The control and
// its events are the web view library's; this unit places it on the window
// and routes the events of its own (form, unit) pair to handlers set here.
#pragma once

#include <cstdint>
#include <string>

#include "launcher/ui/unit.h"
#include "webview/unit_events.h"

class WebViewUnit : public Unit {
public:
    ~WebViewUnit() override;

    // Creates the control on owner's client area and adds it to owner's units
    // under name. formId and unitId name the unit towards the library; each
    // pair must be unique in the program. Null when the control could not be
    // made (no engine view); nothing is left behind then.
    static WebViewUnit* Create(Window* owner, const std::string& name, uint32_t formId, uint32_t unitId, int x, int y,
                               int width, int height);

    // Sets (or, with an empty handler, clears) the handler of one event
    // (kEvent... of the library). Handlers run on the UI thread.
    void On(int eventNumber, UnitEventHandler handler);

private:
    WebViewUnit(Window* owner, std::string name, uint32_t formId, uint32_t unitId);

    uint32_t formId_;
    uint32_t unitId_;
};
