// Events of the web view unit and how they reach the application.
//
// The library raises an event by handing an event record to the host side;
// the host side calls the handler bound to that event of that unit (form id,
// unit id) and reports whether a handler ran, whether it returned a value and
// which. The application (the launcher's window and unit layer) binds its
// handlers here; the library itself knows nothing of the application.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum WebViewEventNumber : int {
    kEventDocumentReady = 0,
    kEventTitleChanged = 1,
    kEventUrlChanged = 2,
    kEventNavigation = 3,
    kEventCreateView = 4,
    kEventLoadingFinish = 5,
    kEventConsoleMessage = 6,
    kEventAlertBox = 7,
    kEventConfirmBox = 8,
    kEventPromptBox = 9,
    kEventDownloadRequest = 10,
    kEventLoadUrlBegin = 11,
    kEventLoadUrlEnd = 12,
    kEventMouseOverUrlChanged = 13,
    kEventLeftButtonDown = 14,
    kEventLeftButtonUp = 15,
    kEventLeftButtonDoubleClick = 16,
    kEventRightButtonDown = 17,
    kEventRightButtonUp = 18,
    kEventMouseMove = 19,
    kEventFocusGained = 20,
    kEventFocusLost = 21,
    kEventKeyDown = 22,
    kEventKeyUp = 23,
    kEventCharInput = 24,
    kEventBeforePopup = 26,
    kEventPopupCreated = 27,
    kEventPopupClosing = 28,
    kEventPopupDestroyed = 29,
    kEventFaviconReceived = 31,
    kEventFileDialogRequest = 32,
};

enum class EventArgumentType : uint32_t { Int = 1, Text = 2 };
constexpr uint32_t kArgumentByReference = 1;

// One argument slot. A text is always passed by reference: value holds the
// address of the library's std::string, which a handler may change. An int
// passed by reference holds the address of an int32_t.
struct EventArgument {
    int64_t value = 0;
    EventArgumentType type = EventArgumentType::Int;
    uint32_t flags = 0;
};

struct UnitEvent {
    uint32_t formId = 0;
    uint32_t unitId = 0;
    int number = 0;
    int argumentCount = 0;
    EventArgument arguments[12];
    bool hasResult = false;
    int32_t result = 0;

    // Argument i as an integer (by-reference ints are read through).
    int64_t Int(int i) const;
    // Argument i as text; the library's variable, so a handler may replace it.
    std::string& Text(int i);
    // Argument i as a by-reference integer the handler may change.
    int32_t& IntRef(int i);
};

// A handler returns a value, or std::nullopt for "returned nothing".
using UnitEventHandler = std::function<std::optional<int>(UnitEvent&)>;

struct EventOutcome {
    bool handled = false;   // a handler ran
    bool hasValue = false;  // and returned a value
    int32_t value = 0;
};

// Binds (or, with an empty handler, unbinds) the handler of one event of one unit.
void BindUnitEvent(uint32_t formId, uint32_t unitId, int number, UnitEventHandler handler);
// Drops every handler of a unit.
void UnbindUnitEvents(uint32_t formId, uint32_t unitId);

// Calls the bound handler. A handler that throws counts as having returned
// nothing: no exception ever leaves this function, since it runs inside
// window procedures and engine callbacks.
EventOutcome RaiseUnitEvent(UnitEvent& event);

// The host's notice that a unit is gone (after its host window was
// destroyed). Set by the application when it wants to know.
void SetUnitDestroyedListener(std::function<void(uint32_t formId, uint32_t unitId)> listener);
void NotifyUnitDestroyed(uint32_t formId, uint32_t unitId);
