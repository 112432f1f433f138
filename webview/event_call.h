// Raising one event of a unit: the record is filled from the unit's state
// and the arguments in order, then handed to the host side.
#pragma once

#include "webview/unit_events.h"
#include "webview/unit_state.h"

class EventCall {
public:
    EventCall(const WebViewUnitState& state, int number) {
        event_.formId = state.formId;
        event_.unitId = state.unitId;
        event_.number = number;
    }
    EventCall& Int(int64_t value) { return Add(value, EventArgumentType::Int, 0); }
    EventCall& IntRef(int32_t& value) {
        return Add((int64_t)(intptr_t)&value, EventArgumentType::Int, kArgumentByReference);
    }
    EventCall& Text(std::string& value) {
        return Add((int64_t)(intptr_t)&value, EventArgumentType::Text, kArgumentByReference);
    }
    EventOutcome Raise() { return RaiseUnitEvent(event_); }

private:
    EventCall& Add(int64_t value, EventArgumentType type, uint32_t flags) {
        if (event_.argumentCount < 12) {
            EventArgument& slot = event_.arguments[event_.argumentCount++];
            slot.value = value;
            slot.type = type;
            slot.flags = flags;
        }
        return *this;
    }
    UnitEvent event_;
};

// The common reading of a truth result: only a handler that ran and returned
// 0 says "false".
inline bool ReturnedFalse(const EventOutcome& outcome) {
    return outcome.handled && outcome.hasValue && outcome.value == 0;
}
