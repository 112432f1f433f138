// Holding the other threads of the process still while code is patched.
// Everything here allocates from the engine's private heap only: a suspended
// thread may hold the C runtime's heap lock.
#pragma once

#include <windows.h>

#include <cstddef>

// Answers where a suspended thread's instruction pointer must go, or 0 to
// leave it.
using InstructionPointerMove = DWORD_PTR (*)(DWORD_PTR instructionPointer, const void* context);

struct FrozenThreads {
    DWORD* ids = nullptr;
    size_t count = 0;
    size_t capacity = 0;
};

// Suspends every thread of this process but the calling one and moves each
// one's instruction pointer as move says. False when the thread list could
// not be made (nothing is suspended then).
bool FreezeOtherThreads(HANDLE heap, FrozenThreads& frozen, InstructionPointerMove move, const void* context);
// Resumes the threads and frees the list.
void ThawThreads(HANDLE heap, FrozenThreads& frozen);
