#include "webview/unit_events.h"

#include "utilities/guarded_call.h"

#include <map>
#include <tuple>

namespace {

using HandlerKey = std::tuple<uint32_t, uint32_t, int>;

std::map<HandlerKey, UnitEventHandler>& Handlers() {
    static auto* handlers = new std::map<HandlerKey, UnitEventHandler>();
    return *handlers;
}

std::function<void(uint32_t, uint32_t)>& DestroyedListener() {
    static auto* listener = new std::function<void(uint32_t, uint32_t)>();
    return *listener;
}

}  // namespace

int64_t UnitEvent::Int(int i) const {
    const EventArgument& argument = arguments[i];
    if (argument.flags & kArgumentByReference) return *reinterpret_cast<const int32_t*>((intptr_t)argument.value);
    return argument.value;
}

std::string& UnitEvent::Text(int i) { return *reinterpret_cast<std::string*>((intptr_t)arguments[i].value); }

int32_t& UnitEvent::IntRef(int i) { return *reinterpret_cast<int32_t*>((intptr_t)arguments[i].value); }

void BindUnitEvent(uint32_t formId, uint32_t unitId, int number, UnitEventHandler handler) {
    HandlerKey key(formId, unitId, number);
    if (handler)
        Handlers()[key] = std::move(handler);
    else
        Handlers().erase(key);
}

void UnbindUnitEvents(uint32_t formId, uint32_t unitId) {
    auto& handlers = Handlers();
    auto it = handlers.lower_bound(HandlerKey(formId, unitId, INT32_MIN));
    while (it != handlers.end() && std::get<0>(it->first) == formId && std::get<1>(it->first) == unitId)
        it = handlers.erase(it);
}

EventOutcome RaiseUnitEvent(UnitEvent& event) {
    EventOutcome outcome;
    auto it = Handlers().find(HandlerKey(event.formId, event.unitId, event.number));
    if (it == Handlers().end()) return outcome;
    // A copy, so a handler may rebind its own event while it runs.
    UnitEventHandler handler = it->second;
    outcome.handled = true;
    std::optional<int> value = GuardedCall([&] { return handler(event); });
    event.hasResult = value.has_value();
    event.result = value.value_or(0);
    outcome.hasValue = event.hasResult;
    outcome.value = event.result;
    return outcome;
}

void SetUnitDestroyedListener(std::function<void(uint32_t, uint32_t)> listener) {
    DestroyedListener() = std::move(listener);
}

void NotifyUnitDestroyed(uint32_t formId, uint32_t unitId) {
    if (!DestroyedListener()) return;
    GuardedCall([&] { DestroyedListener()(formId, unitId); });
}
