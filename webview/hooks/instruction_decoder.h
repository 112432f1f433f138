// Length decoding of 32-bit x86 instructions, as far as the hook engine
// needs it: how long an instruction is, which opcode it has, the relative
// displacement of a jump or call, and whether the bytes make no instruction
// the engine can move. It reads no further than the instruction it decodes.
#pragma once

#include <cstdint>

struct X86Instruction {
    uint8_t length = 0;        // 1 to 15; 0 when invalid
    uint8_t opcode = 0;        // the first opcode byte (0x0F for the two-byte map)
    uint8_t opcode2 = 0;       // the byte after 0x0F
    uint8_t relativeSize = 0;  // 1 or 4 when the instruction ends in a relative displacement
    int32_t relative = 0;      // that displacement, sign-extended
    bool invalid = false;
};

// Decodes the instruction at code. Flags as invalid: undefined opcodes, more
// than 15 bytes, VEX, EVEX and XOP encodings, and relative jumps or calls
// with a 16-bit operand size (their target wraps at 64 KB).
X86Instruction DecodeX86Instruction(const uint8_t* code);
