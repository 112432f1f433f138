// Executable memory for trampolines: 4096-byte blocks of execute-read-write
// memory, each a 32-byte header and 127 slots of 32 bytes. A trampoline
// takes one slot. Callers hold the hook engine's lock; nothing here locks.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTrampolineSlotSize = 32;
constexpr size_t kTrampolineBlockSize = 4096;

// A free slot, from the first block that has one, else from a new block;
// filled with 0xCC. Null when no memory can be had.
uint8_t* TakeTrampolineSlot();
// Gives a slot back to its block (found by rounding the address down to the
// block size); a block left without used slots is released.
void ReturnTrampolineSlot(uint8_t* slot);
// Releases every block, used slots or not.
void ReleaseTrampolineBlocks();

// Whether address lies in committed memory that may be executed: an execute
// protection (0x10, 0x20, 0x40 or 0x80) on a page that is neither a guard
// page nor inaccessible.
bool IsExecutableAddress(const void* address);
