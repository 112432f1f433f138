#include "webview/hooks/thread_freeze.h"

#include <tlhelp32.h>

#include "utilities/win_handles.h"

namespace {

constexpr DWORD kThreadRights =
    THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT | THREAD_QUERY_INFORMATION;

using OpenThreadFn = HANDLE(WINAPI*)(DWORD, BOOL, DWORD);

HANDLE OpenThreadById(DWORD id) {
    static OpenThreadFn openThread = reinterpret_cast<OpenThreadFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"Kernel32.dll"), "OpenThread")));
    return openThread ? openThread(kThreadRights, FALSE, id) : nullptr;
}

bool AddThread(HANDLE heap, FrozenThreads& frozen, DWORD id) {
    if (frozen.count == frozen.capacity) {
        size_t capacity = frozen.capacity ? frozen.capacity * 2 : 128;
        void* grown = frozen.ids ? HeapReAlloc(heap, 0, frozen.ids, capacity * sizeof(DWORD))
                                 : HeapAlloc(heap, 0, capacity * sizeof(DWORD));
        if (!grown) return false;
        frozen.ids = static_cast<DWORD*>(grown);
        frozen.capacity = capacity;
    }
    frozen.ids[frozen.count++] = id;
    return true;
}

void FreeList(HANDLE heap, FrozenThreads& frozen) {
    if (frozen.ids) HeapFree(heap, 0, frozen.ids);
    frozen = FrozenThreads();
}

bool ListOtherThreads(HANDLE heap, FrozenThreads& frozen) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot.Valid()) return false;
    DWORD process = GetCurrentProcessId(), self = GetCurrentThreadId();
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.dwSize < offsetof(THREADENTRY32, th32OwnerProcessID) + sizeof(entry.th32OwnerProcessID)) continue;
        if (entry.th32OwnerProcessID != process || entry.th32ThreadID == self) continue;
        if (!AddThread(heap, frozen, entry.th32ThreadID)) {
            FreeList(heap, frozen);
            return false;
        }
        entry.dwSize = sizeof entry;
    }
    return true;
}

void MoveInstructionPointer(HANDLE thread, InstructionPointerMove move, const void* context) {
    CONTEXT registers = {};
    registers.ContextFlags = CONTEXT_CONTROL;
    if (!GetThreadContext(thread, &registers)) return;
    DWORD_PTR moved = move(registers.Eip, context);
    if (!moved) return;
    registers.Eip = static_cast<DWORD>(moved);
    SetThreadContext(thread, &registers);
}

}  // namespace

bool FreezeOtherThreads(HANDLE heap, FrozenThreads& frozen, InstructionPointerMove move, const void* context) {
    frozen = FrozenThreads();
    if (!ListOtherThreads(heap, frozen)) return false;
    for (size_t i = 0; i < frozen.count; ++i) {
        UniqueHandle thread(OpenThreadById(frozen.ids[i]));
        // Only a thread this freeze suspended may be resumed by the thaw:
        // resuming another would undo someone else's suspension.
        if (!thread.Valid() || SuspendThread(thread.Get()) == static_cast<DWORD>(-1)) {
            frozen.ids[i] = 0;
            continue;
        }
        MoveInstructionPointer(thread.Get(), move, context);
    }
    return true;
}

void ThawThreads(HANDLE heap, FrozenThreads& frozen) {
    for (size_t i = 0; i < frozen.count; ++i) {
        if (!frozen.ids[i]) continue;
        UniqueHandle thread(OpenThreadById(frozen.ids[i]));
        if (thread.Valid()) ResumeThread(thread.Get());
    }
    FreeList(heap, frozen);
}
