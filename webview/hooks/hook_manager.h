// Hooking a function that the program calls through a variable: the manager
// points the variable at the trampoline, so calls through it still reach the
// original function while everyone else's calls reach the replacement.
#pragma once

// What a failing manager operation raises.
enum apiHookError : int {
    kApiHookInitializeFailed = 0,
    kApiHookShutdownFailed = 1,
    kApiHookDisableFailed = 2,
    kApiHookEnableFailed = 3,
    kApiHookCreateFailed = 4,
};

// One hook and where it came from. Empty until InstallApiHook fills it.
struct HookManager {
    void* target = nullptr;     // the function hooked
    void** variable = nullptr;  // held target; holds the trampoline while hooked
    bool enabled = false;
    void* replacement = nullptr;
};

// Hooks the function that *variable holds with replacement (and enables it
// when enable is set). True when the hook is in place, also when this manager
// already had it; false for a null variable or replacement. Throws
// apiHookError on failure; a failed creation leaves the manager empty.
bool InstallApiHook(HookManager& manager, void** variable, void* replacement, bool enable);

// Disables the manager's hook, puts the target back into its variable and
// empties the manager; the last manager shuts the engine down. Does nothing
// for an empty manager. Throws apiHookError on failure.
void RemoveApiHook(HookManager& manager);

// A short English description for diagnostics.
const char* ApiHookErrorText(apiHookError error);
