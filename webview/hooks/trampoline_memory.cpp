#include "webview/hooks/trampoline_memory.h"

#include <windows.h>

#include <cstring>

namespace {

struct TrampolineBlock {
    TrampolineBlock* next;
    uint8_t* firstFree;  // a free slot holds the address of the next free one
    uint32_t used;
};
static_assert(sizeof(TrampolineBlock) <= kTrampolineSlotSize, "the header fits the block's first slot");

constexpr size_t kSlotsPerBlock = kTrampolineBlockSize / kTrampolineSlotSize - 1;

TrampolineBlock* Blocks = nullptr;

uint8_t* SlotAt(TrampolineBlock* block, size_t index) {
    return reinterpret_cast<uint8_t*>(block) + kTrampolineSlotSize * (index + 1);
}

TrampolineBlock* NewBlock() {
    void* memory = VirtualAlloc(nullptr, kTrampolineBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!memory) return nullptr;
    auto* block = static_cast<TrampolineBlock*>(memory);
    block->next = Blocks;
    block->used = 0;
    block->firstFree = nullptr;
    for (size_t i = kSlotsPerBlock; i-- > 0;) {
        uint8_t* slot = SlotAt(block, i);
        memcpy(slot, &block->firstFree, sizeof(uint8_t*));
        block->firstFree = slot;
    }
    Blocks = block;
    return block;
}

}  // namespace

uint8_t* TakeTrampolineSlot() {
    TrampolineBlock* block = Blocks;
    while (block && !block->firstFree) block = block->next;
    if (!block) block = NewBlock();
    if (!block) return nullptr;
    uint8_t* slot = block->firstFree;
    memcpy(&block->firstFree, slot, sizeof(uint8_t*));
    ++block->used;
    // Anything left of an earlier trampoline must not be run by mistake.
    memset(slot, 0xCC, kTrampolineSlotSize);
    return slot;
}

void ReturnTrampolineSlot(uint8_t* slot) {
    auto* block = reinterpret_cast<TrampolineBlock*>(reinterpret_cast<uintptr_t>(slot) & ~(kTrampolineBlockSize - 1));
    memset(slot, 0xCC, kTrampolineSlotSize);
    memcpy(slot, &block->firstFree, sizeof(uint8_t*));
    block->firstFree = slot;
    if (--block->used > 0) return;
    for (TrampolineBlock** link = &Blocks; *link; link = &(*link)->next) {
        if (*link == block) {
            *link = block->next;
            break;
        }
    }
    VirtualFree(block, 0, MEM_RELEASE);
}

void ReleaseTrampolineBlocks() {
    while (Blocks) {
        TrampolineBlock* next = Blocks->next;
        VirtualFree(Blocks, 0, MEM_RELEASE);
        Blocks = next;
    }
}

bool IsExecutableAddress(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(address, &info, sizeof info) || info.State != MEM_COMMIT) return false;
    if (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
    return (info.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}
