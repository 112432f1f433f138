#include "webview/hooks/trampoline.h"

#include "webview/hooks/instruction_decoder.h"
#include "webview/hooks/trampoline_memory.h"

#include <algorithm>
#include <cstring>

namespace {

// A run of one repeated byte that compilers put between functions.
bool IsFiller(const uint8_t* bytes, size_t count) {
    if (count == 0) return true;
    uint8_t first = bytes[0];
    if (first != 0x00 && first != 0x90 && first != 0xCC) return false;
    return std::all_of(bytes, bytes + count, [first](uint8_t b) { return b == first; });
}

// Writes opcode bytes and the 32-bit displacement from the end of the
// instruction at at to destination; answers the instruction's length.
size_t EncodeRelative32(uint8_t* code, const uint8_t* opcode, size_t opcodeLength, uintptr_t at,
                        uintptr_t destination) {
    size_t length = opcodeLength + 4;
    memcpy(code, opcode, opcodeLength);
    int32_t displacement = static_cast<int32_t>(destination - (at + length));
    memcpy(code + opcodeLength, &displacement, 4);
    return length;
}

bool IsConditionalJump(const X86Instruction& in) {
    return (in.opcode >= 0x70 && in.opcode <= 0x7F) || (in.opcode == 0x0F && in.opcode2 >= 0x80 && in.opcode2 <= 0x8F);
}

// A jump back to an already copied instruction keeps its displacement only
// when nothing between that instruction and the jump changed length.
bool BackwardJumpStillFits(const TrampolineLayout& layout, size_t destinationOffset, size_t oldPos, size_t newPos) {
    if (destinationOffset == oldPos) return true;
    for (int i = 0; i < layout.count; ++i)
        if (layout.oldOffsets[i] == destinationOffset)
            return newPos - layout.newOffsets[i] == oldPos - destinationOffset;
    return false;
}

}  // namespace

bool BuildTrampoline(const uint8_t* target, uint8_t* slot, TrampolineLayout& layout) {
    layout = TrampolineLayout();
    const uintptr_t start = reinterpret_cast<uintptr_t>(target);
    size_t oldPos = 0, newPos = 0;
    uintptr_t innerDestination = 0;  // the farthest jump destination inside the patched bytes
    bool finished = false;
    uint8_t code[16];
    while (!finished) {
        const uintptr_t here = start + oldPos;
        const uintptr_t newHere = reinterpret_cast<uintptr_t>(slot) + newPos;
        if (oldPos >= kPatchSize) {
            // The jump back counts against the slot like any instruction: a
            // trampoline must never run into the next one.
            static const uint8_t kJump[] = {0xE9};
            size_t length = EncodeRelative32(code, kJump, 1, newHere, here);
            if (newPos + length > kTrampolineSlotSize) return false;
            memcpy(slot + newPos, code, length);
            break;
        }
        X86Instruction in = DecodeX86Instruction(target + oldPos);
        if (in.invalid) return false;
        memcpy(code, target + oldPos, in.length);
        size_t length = in.length;
        if (in.relativeSize) {
            const uintptr_t destination = here + in.length + in.relative;
            const bool inside = destination >= start && destination < start + kPatchSize;
            if (inside) {
                if (in.opcode == 0xE8) return false;  // a call into the bytes the patch overwrites
                if (destination <= here && !BackwardJumpStillFits(layout, destination - start, oldPos, newPos))
                    return false;
                innerDestination = std::max(innerDestination, destination);
            } else if (in.opcode == 0xE8 || in.opcode == 0xE9 || in.opcode == 0xEB) {
                static const uint8_t kCall[] = {0xE8}, kJump[] = {0xE9};
                length = EncodeRelative32(code, in.opcode == 0xE8 ? kCall : kJump, 1, newHere, destination);
                if (in.opcode != 0xE8) finished = here >= innerDestination;
            } else if (IsConditionalJump(in)) {
                uint8_t condition = (in.opcode == 0x0F ? in.opcode2 : in.opcode) & 0x0F;
                const uint8_t longForm[] = {0x0F, static_cast<uint8_t>(0x80 | condition)};
                length = EncodeRelative32(code, longForm, 2, newHere, destination);
            } else {
                return false;  // LOOP and JCXZ have no long form
            }
        } else if (in.opcode == 0xC2 || in.opcode == 0xC3) {
            finished = here >= innerDestination;
        }
        if (here < innerDestination && length != in.length) return false;
        if (layout.count >= kMaxCopiedInstructions || newPos + length > kTrampolineSlotSize) return false;
        layout.oldOffsets[layout.count] = static_cast<uint8_t>(oldPos);
        layout.newOffsets[layout.count] = static_cast<uint8_t>(newPos);
        ++layout.count;
        memcpy(slot + newPos, code, length);
        newPos += length;
        oldPos += in.length;
    }
    if (oldPos >= kPatchSize || IsFiller(target + oldPos, kPatchSize - oldPos)) return true;
    // A function shorter than the patch: the jump goes into the filler before
    // it, and a short jump at its start leads there.
    if (oldPos < 2 && !IsFiller(target + oldPos, 2 - oldPos)) return false;
    if (!IsExecutableAddress(target - kPatchSize) || !IsFiller(target - kPatchSize, kPatchSize)) return false;
    layout.patchAbove = true;
    return true;
}
