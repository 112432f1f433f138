// The inline hook engine: the first bytes of a function in this process are
// overwritten with a jump to a replacement, and a trampoline keeps the
// overwritten instructions so the original stays callable. 32-bit x86 only.
//
// Every operation takes one process-wide spin lock, so any thread may call
// them. While code is patched, the other threads of the process are
// suspended and their instruction pointers moved out of the patched bytes.
#pragma once

enum HookStatus : int {
    kHookOk = 0,
    kHookAlreadyInitialized = 1,
    kHookNotInitialized = 2,
    kHookAlreadyCreated = 3,
    kHookNotCreated = 4,
    kHookAlreadyEnabled = 5,
    kHookAlreadyDisabled = 6,
    kHookNotExecutable = 7,  // target or replacement not in executable memory
    kHookUnsupported = 8,    // the target's code cannot be moved into a trampoline
    kHookOutOfMemory = 9,
    kHookProtectFailed = 10,  // the patch area's protection could not be changed
};

// The target of EnableHook and DisableHook that means every hook.
constexpr void* kAllHooks = nullptr;

HookStatus InitializeHookEngine();
// Disables every hook (its failure is returned and nothing is freed), then
// frees every trampoline, the hook table and the private heap.
HookStatus ShutdownHookEngine();
// Builds the trampoline of target and writes its address to *trampoline;
// the hook starts disabled.
HookStatus CreateHook(void* target, void* replacement, void** trampoline);
HookStatus EnableHook(void* target);
HookStatus DisableHook(void* target);
