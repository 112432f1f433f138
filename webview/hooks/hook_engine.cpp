#include "webview/hooks/hook_engine.h"

#include "webview/hooks/thread_freeze.h"
#include "webview/hooks/trampoline.h"
#include "webview/hooks/trampoline_memory.h"

#include <windows.h>

#include <cstring>

namespace {

enum : uint8_t { kFlagPatchAbove = 1, kFlagEnabled = 2, kFlagQueued = 4 };

struct HookEntry {
    uint8_t* target;
    void* replacement;
    uint8_t* trampoline;
    uint8_t backup[8];  // the bytes the patch overwrites: 5, or 7 when patching above
    uint8_t flags;
    uint32_t instructionCount;  // low 4 bits
    uint8_t oldOffsets[kMaxCopiedInstructions];
    uint8_t newOffsets[kMaxCopiedInstructions];

    bool Has(uint8_t flag) const { return (flags & flag) != 0; }
    void Set(uint8_t flag, bool on) { flags = on ? (flags | flag) : (flags & ~flag); }
    uint8_t* PatchStart() const { return Has(kFlagPatchAbove) ? target - kPatchSize : target; }
    size_t PatchLength() const { return Has(kFlagPatchAbove) ? kPatchAboveSize : kPatchSize; }
    int Copied() const { return instructionCount & 0x0F; }
};

struct EngineState {
    HANDLE heap = nullptr;  // null while the engine is not initialised
    HookEntry* hooks = nullptr;
    size_t capacity = 0;
    size_t count = 0;
};

EngineState Engine;
volatile LONG LockWord = 0;

// Serialises the engine's operations across threads. Patching is rare and
// short, so waiting threads only yield.
class EngineLock {
public:
    EngineLock() {
        for (int attempt = 0; InterlockedCompareExchange(&LockWord, 1, 0) != 0; ++attempt) Sleep(attempt < 32 ? 0 : 1);
    }
    ~EngineLock() { InterlockedExchange(&LockWord, 0); }
    EngineLock(const EngineLock&) = delete;
    EngineLock& operator=(const EngineLock&) = delete;
};

HookEntry* FindHook(const void* target) {
    for (size_t i = 0; i < Engine.count; ++i)
        if (Engine.hooks[i].target == target) return &Engine.hooks[i];
    return nullptr;
}

HookEntry* NewHookEntry() {
    if (Engine.count == Engine.capacity) {
        size_t capacity = Engine.capacity ? Engine.capacity * 2 : 32;
        void* grown = Engine.hooks ? HeapReAlloc(Engine.heap, 0, Engine.hooks, capacity * sizeof(HookEntry))
                                   : HeapAlloc(Engine.heap, 0, capacity * sizeof(HookEntry));
        if (!grown) return nullptr;
        Engine.hooks = static_cast<HookEntry*>(grown);
        Engine.capacity = capacity;
    }
    HookEntry* entry = &Engine.hooks[Engine.count++];
    memset(entry, 0, sizeof *entry);
    return entry;
}

// Where a thread stopped at ip must continue once entry changes state.
DWORD_PTR MovedInstructionPointer(const HookEntry& entry, DWORD_PTR ip, bool enabling) {
    const auto target = reinterpret_cast<DWORD_PTR>(entry.target);
    const auto trampoline = reinterpret_cast<DWORD_PTR>(entry.trampoline);
    for (int i = 0; i < entry.Copied(); ++i) {
        if (enabling && ip == target + entry.oldOffsets[i]) return trampoline + entry.newOffsets[i];
        if (!enabling && ip == trampoline + entry.newOffsets[i]) return target + entry.oldOffsets[i];
    }
    // Between the short jump at the target and the jump it leads to.
    if (!enabling && entry.Has(kFlagPatchAbove) && ip == target - kPatchSize) return target;
    return 0;
}

// One entry changing to a state, or (entry null) every entry whose queued
// state differs from its current one.
struct StateChange {
    HookEntry* entry;
    bool enable;
};

DWORD_PTR MoveForChange(DWORD_PTR ip, const void* context) {
    const auto& change = *static_cast<const StateChange*>(context);
    if (change.entry) return MovedInstructionPointer(*change.entry, ip, change.enable);
    for (size_t i = 0; i < Engine.count; ++i) {
        const HookEntry& entry = Engine.hooks[i];
        bool queued = entry.Has(kFlagQueued);
        if (queued == entry.Has(kFlagEnabled)) continue;
        if (DWORD_PTR moved = MovedInstructionPointer(entry, ip, queued)) return moved;
    }
    return 0;
}

HookStatus Patch(HookEntry& entry, bool enable) {
    uint8_t* start = entry.PatchStart();
    size_t length = entry.PatchLength();
    DWORD oldProtection = 0;
    if (!VirtualProtect(start, length, PAGE_EXECUTE_READWRITE, &oldProtection)) return kHookProtectFailed;
    if (enable) {
        int32_t displacement = static_cast<int32_t>(reinterpret_cast<uintptr_t>(entry.replacement) -
                                                    reinterpret_cast<uintptr_t>(start) - kPatchSize);
        start[0] = 0xE9;
        memcpy(start + 1, &displacement, 4);
        if (entry.Has(kFlagPatchAbove)) {
            entry.target[0] = 0xEB;  // back 7 bytes, to the jump above
            entry.target[1] = 0xF9;
        }
    } else {
        memcpy(start, entry.backup, length);
    }
    VirtualProtect(start, length, oldProtection, &oldProtection);
    FlushInstructionCache(GetCurrentProcess(), start, length);
    entry.Set(kFlagEnabled, enable);
    entry.Set(kFlagQueued, enable);
    return kHookOk;
}

HookStatus ChangeUnderFreeze(const StateChange& change) {
    FrozenThreads frozen;
    if (!FreezeOtherThreads(Engine.heap, frozen, MoveForChange, &change)) return kHookOutOfMemory;
    HookStatus status = kHookOk;
    if (change.entry) {
        status = Patch(*change.entry, change.enable);
    } else {
        for (size_t i = 0; i < Engine.count && status == kHookOk; ++i) {
            HookEntry& entry = Engine.hooks[i];
            if (entry.Has(kFlagQueued) != entry.Has(kFlagEnabled)) status = Patch(entry, entry.Has(kFlagQueued));
        }
    }
    ThawThreads(Engine.heap, frozen);
    return status;
}

HookStatus SetHookState(void* target, bool enable) {
    if (!Engine.heap) return kHookNotInitialized;
    if (target == kAllHooks) {
        for (size_t i = 0; i < Engine.count; ++i) Engine.hooks[i].Set(kFlagQueued, enable);
        return ChangeUnderFreeze({nullptr, enable});
    }
    HookEntry* entry = FindHook(target);
    if (!entry) return kHookNotCreated;
    if (entry->Has(kFlagEnabled) == enable) return enable ? kHookAlreadyEnabled : kHookAlreadyDisabled;
    return ChangeUnderFreeze({entry, enable});
}

}  // namespace

HookStatus InitializeHookEngine() {
    EngineLock lock;
    if (Engine.heap) return kHookAlreadyInitialized;
    Engine.heap = HeapCreate(0, 0, 0);
    return Engine.heap ? kHookOk : kHookOutOfMemory;
}

HookStatus ShutdownHookEngine() {
    EngineLock lock;
    if (!Engine.heap) return kHookNotInitialized;
    HookStatus status = SetHookState(kAllHooks, false);
    if (status != kHookOk) return status;
    ReleaseTrampolineBlocks();
    if (Engine.hooks) HeapFree(Engine.heap, 0, Engine.hooks);
    HeapDestroy(Engine.heap);
    Engine = EngineState();
    return kHookOk;
}

HookStatus CreateHook(void* target, void* replacement, void** trampoline) {
    EngineLock lock;
    if (!Engine.heap) return kHookNotInitialized;
    if (!IsExecutableAddress(target) || !IsExecutableAddress(replacement)) return kHookNotExecutable;
    if (FindHook(target)) return kHookAlreadyCreated;
    uint8_t* slot = TakeTrampolineSlot();
    if (!slot) return kHookOutOfMemory;
    auto* code = static_cast<uint8_t*>(target);
    TrampolineLayout layout;
    if (!BuildTrampoline(code, slot, layout)) {
        ReturnTrampolineSlot(slot);
        return kHookUnsupported;
    }
    HookEntry* entry = NewHookEntry();
    if (!entry) {
        ReturnTrampolineSlot(slot);
        return kHookOutOfMemory;
    }
    FlushInstructionCache(GetCurrentProcess(), slot, kTrampolineSlotSize);
    entry->target = code;
    entry->replacement = replacement;
    entry->trampoline = slot;
    entry->Set(kFlagPatchAbove, layout.patchAbove);
    entry->instructionCount = layout.count & 0x0F;
    memcpy(entry->oldOffsets, layout.oldOffsets, sizeof entry->oldOffsets);
    memcpy(entry->newOffsets, layout.newOffsets, sizeof entry->newOffsets);
    memcpy(entry->backup, entry->PatchStart(), entry->PatchLength());
    if (trampoline) *trampoline = slot;
    return kHookOk;
}

HookStatus EnableHook(void* target) {
    EngineLock lock;
    return SetHookState(target, true);
}

HookStatus DisableHook(void* target) {
    EngineLock lock;
    return SetHookState(target, false);
}
