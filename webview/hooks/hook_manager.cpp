#include "webview/hooks/hook_manager.h"

#include <mutex>

#include "webview/hooks/hook_engine.h"

namespace {

// Every manager and the count below: the UI thread installs while units are
// made, the exit routine removes on whichever thread ends the program.
std::mutex managersLock;

// Managers that use the engine; the engine lives while there is one.
int EngineUsers = 0;

void AddEngineUser() {
    if (EngineUsers == 0 && InitializeHookEngine() != kHookOk) throw kApiHookInitializeFailed;
    ++EngineUsers;
}

void DropEngineUser() {
    if (EngineUsers > 0 && --EngineUsers == 0 && ShutdownHookEngine() != kHookOk) throw kApiHookShutdownFailed;
}

void RemoveHookLocked(HookManager& manager) {
    if (!manager.target) return;
    if (manager.enabled) {
        if (DisableHook(manager.target) != kHookOk) throw kApiHookDisableFailed;
        manager.enabled = false;
    }
    *manager.variable = manager.target;
    manager = HookManager();
    DropEngineUser();
}

}  // namespace

bool InstallApiHook(HookManager& manager, void** variable, void* replacement, bool enable) {
    if (!variable || !replacement) return false;
    std::lock_guard<std::mutex> lock(managersLock);
    if ((manager.target == *variable || manager.variable == variable) && manager.replacement == replacement)
        return true;
    AddEngineUser();
    if (manager.target) RemoveHookLocked(manager);
    void* target = *variable;
    if (CreateHook(target, replacement, variable) != kHookOk) {
        // Nothing was hooked: a later install must try again, not find this
        // manager "already hooked".
        DropEngineUser();
        throw kApiHookCreateFailed;
    }
    manager.variable = variable;
    manager.target = target;
    manager.replacement = replacement;
    if (enable && !manager.enabled) {
        if (EnableHook(target) != kHookOk) throw kApiHookEnableFailed;
        manager.enabled = true;
    }
    return true;
}

void RemoveApiHook(HookManager& manager) {
    std::lock_guard<std::mutex> lock(managersLock);
    RemoveHookLocked(manager);
}

const char* ApiHookErrorText(apiHookError error) {
    switch (error) {
        case kApiHookInitializeFailed: return "the hook engine could not be initialised";
        case kApiHookShutdownFailed: return "the hook engine could not be shut down";
        case kApiHookDisableFailed: return "a hook could not be disabled";
        case kApiHookEnableFailed: return "a hook could not be enabled";
        case kApiHookCreateFailed: return "a hook could not be created";
    }
    return "unknown hook failure";
}
