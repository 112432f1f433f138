// Building a trampoline: the first instructions of a target function moved
// into a slot of executable memory, so that the function stays callable
// while its first bytes hold the jump to a replacement.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kPatchSize = 5;       // the jump written at the target
constexpr size_t kPatchAboveSize = 7;  // the jump before the target and the short jump at it
constexpr int kMaxCopiedInstructions = 8;

struct TrampolineLayout {
    bool patchAbove = false;                          // the jump goes into the 5 filler bytes before the target
    uint8_t count = 0;                                // copied instructions
    uint8_t oldOffsets[kMaxCopiedInstructions] = {};  // from the target
    uint8_t newOffsets[kMaxCopiedInstructions] = {};  // in the trampoline
};

// Copies instructions from target into slot (kTrampolineSlotSize bytes, at
// its final address) until at least 5 bytes of the target are covered or the
// function ends, rewriting relative calls and jumps for the new place, and
// appends the jump back to the first uncovered byte. False when the code
// cannot be moved: an undecodable instruction, LOOP or JCXZ leaving the
// copied bytes, a jump back into copied bytes that changed length, more than
// 8 instructions, more than the slot holds (the jump back included), or a
// function shorter than the patch without filler to patch over.
bool BuildTrampoline(const uint8_t* target, uint8_t* slot, TrampolineLayout& layout);
