#include "webview/hooks/instruction_decoder.h"

namespace {

// Properties of an opcode. Immediates follow the ModRM byte and its
// displacement, in this order; at most one relative displacement ends the
// instruction.
enum : uint16_t {
    kModRm = 0x001,       // a ModRM byte follows (with SIB and displacement as it says)
    kImm8 = 0x002,        // one immediate byte
    kImm16 = 0x004,       // two immediate bytes
    kImmZ = 0x008,        // 2 or 4 immediate bytes by operand size
    kRel8 = 0x010,        // a one-byte relative displacement
    kRelZ = 0x020,        // a 2- or 4-byte relative displacement by operand size
    kOffset = 0x040,      // a memory offset of the address size
    kFarPointer = 0x080,  // an offset of the operand size and a 2-byte selector
    kPrefix = 0x100,
    kEscape = 0x200,     // 0x0F: the two-byte map
    kThirdByte = 0x400,  // 0x0F 0x38 and 0x0F 0x3A: one more opcode byte
    kUndefined = 0x800,
    kGroup3 = 0x1000,  // TEST in group 3 (reg 0 and 1) has an immediate
};

// clang-format off
constexpr uint16_t M = kModRm, I8 = kImm8, I16 = kImm16, IZ = kImmZ, R8 = kRel8, RZ = kRelZ, MO = kOffset,
                   FP = kFarPointer, P = kPrefix, ES = kEscape, T3 = kThirdByte, X = kUndefined, G3 = kGroup3,
                   _ = 0;

const uint16_t kOneByteMap[256] = {
    //  0       1       2     3     4     5     6       7       8       9       A     B       C     D     E     F
    M,      M,      M,    M,    I8,   IZ,   _,      _,      M,      M,      M,    M,      I8,   IZ,   _,    ES,  // 0
    M,      M,      M,    M,    I8,   IZ,   _,      _,      M,      M,      M,    M,      I8,   IZ,   _,    _,   // 1
    M,      M,      M,    M,    I8,   IZ,   P,      _,      M,      M,      M,    M,      I8,   IZ,   P,    _,   // 2
    M,      M,      M,    M,    I8,   IZ,   P,      _,      M,      M,      M,    M,      I8,   IZ,   P,    _,   // 3
    _,      _,      _,    _,    _,    _,    _,      _,      _,      _,      _,    _,      _,    _,    _,    _,   // 4
    _,      _,      _,    _,    _,    _,    _,      _,      _,      _,      _,    _,      _,    _,    _,    _,   // 5
    _,      _,      M,    M,    P,    P,    P,      P,      IZ,     M | IZ, I8,   M | I8, _,    _,    _,    _,   // 6
    R8,     R8,     R8,   R8,   R8,   R8,   R8,     R8,     R8,     R8,     R8,   R8,     R8,   R8,   R8,   R8,  // 7
    M | I8, M | IZ, M|I8, M|I8, M,    M,    M,      M,      M,      M,      M,    M,      M,    M,    M,    M,   // 8
    _,      _,      _,    _,    _,    _,    _,      _,      _,      _,      FP,   _,      _,    _,    _,    _,   // 9
    MO,     MO,     MO,   MO,   _,    _,    _,      _,      I8,     IZ,     _,    _,      _,    _,    _,    _,   // A
    I8,     I8,     I8,   I8,   I8,   I8,   I8,     I8,     IZ,     IZ,     IZ,   IZ,     IZ,   IZ,   IZ,   IZ,  // B
    M | I8, M | I8, I16,  _,    M,    M,    M | I8, M | IZ, I16|I8, _,      I16,  _,      _,    I8,   _,    _,   // C
    M,      M,      M,    M,    I8,   I8,   _,      _,      M,      M,      M,    M,      M,    M,    M,    M,   // D
    R8,     R8,     R8,   R8,   I8,   I8,   I8,     I8,     RZ,     RZ,     FP,   R8,     _,    _,    _,    _,   // E
    P,      _,      P,    P,    _,    _,    M | G3, M | G3, _,      _,      _,    _,      _,    _,    M,    M,   // F
};

// The map after 0x0F.
const uint16_t kTwoByteMap[256] = {
    //  0       1       2       3     4       5       6       7     8     9     A       B       C       D       E   F
    M,      M,      M,      M,    X,      _,      _,      _,    _,    _,    X,      _,      X,      M,      _,  M | I8,  // 0
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // 1
    M,      M,      M,      M,    X,      X,      X,      X,    M,    M,    M,      M,      M,      M,      M,  M,       // 2
    _,      _,      _,      _,    _,      _,      X,      _,    M|T3, X,    M|I8|T3, X,     X,      X,      X,  X,       // 3
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // 4
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // 5
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // 6
    M | I8, M | I8, M | I8, M|I8, M,      M,      M,      _,    M,    M,    X,      X,      M,      M,      M,  M,       // 7
    RZ,     RZ,     RZ,     RZ,   RZ,     RZ,     RZ,     RZ,   RZ,   RZ,   RZ,     RZ,     RZ,     RZ,     RZ, RZ,      // 8
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // 9
    _,      _,      _,      M,    M | I8, M,      X,      X,    _,    _,    _,      M,      M | I8, M,      M,  M,       // A
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M | I8, M,      M,      M,      M,  M,       // B
    M,      M,      M | I8, M,    M | I8, M | I8, M | I8, M,    _,    _,    _,      _,      _,      _,      _,  _,       // C
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // D
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // E
    M,      M,      M,      M,    M,      M,      M,      M,    M,    M,    M,      M,      M,      M,      M,  M,       // F
};
// clang-format on

constexpr int kMaxInstructionLength = 15;

// Bytes of the ModRM addressing form after the ModRM byte itself: SIB and displacement.
int AddressingBytes(const uint8_t* after, uint8_t modrm, bool address16) {
    int mod = modrm >> 6, rm = modrm & 7;
    if (mod == 3) return 0;
    if (address16) {
        if (mod == 0) return rm == 6 ? 2 : 0;
        return mod == 1 ? 1 : 2;
    }
    int bytes = 0;
    if (rm == 4) {
        bytes = 1;
        if (mod == 0 && (after[0] & 7) == 5) return bytes + 4;
    }
    if (mod == 0) return bytes + (rm == 5 ? 4 : 0);
    return bytes + (mod == 1 ? 1 : 4);
}

// In 32-bit code these opcodes with a register ModRM form are the lead bytes
// of other encodings: VEX (0xC4, 0xC5), EVEX (0x62); 0x8F with a reg field
// other than 0 is XOP.
bool IsForeignEncoding(uint8_t opcode, uint8_t modrm) {
    bool registerForm = (modrm >> 6) == 3;
    if (opcode == 0xC4 || opcode == 0xC5 || opcode == 0x62) return registerForm;
    return opcode == 0x8F && ((modrm >> 3) & 7) != 0;
}

X86Instruction Invalid(X86Instruction decoded) {
    decoded.invalid = true;
    decoded.length = 0;
    decoded.relativeSize = 0;
    decoded.relative = 0;
    return decoded;
}

}  // namespace

X86Instruction DecodeX86Instruction(const uint8_t* code) {
    X86Instruction decoded;
    const uint8_t* p = code;
    bool operand16 = false, address16 = false;
    while (kOneByteMap[*p] & kPrefix) {
        if (*p == 0x66) operand16 = true;
        if (*p == 0x67) address16 = true;
        if (++p - code >= kMaxInstructionLength) return Invalid(decoded);
    }
    decoded.opcode = *p++;
    uint16_t properties = kOneByteMap[decoded.opcode];
    if (properties & kEscape) {
        decoded.opcode2 = *p++;
        properties = kTwoByteMap[decoded.opcode2];
        if (properties & kThirdByte) ++p;
    }
    if (properties & kUndefined) return Invalid(decoded);

    int immediate = 0;
    if (properties & kModRm) {
        uint8_t modrm = *p++;
        if (decoded.opcode != 0x0F && IsForeignEncoding(decoded.opcode, modrm)) return Invalid(decoded);
        p += AddressingBytes(p, modrm, address16);
        if ((properties & kGroup3) && ((modrm >> 3) & 7) < 2)
            immediate += decoded.opcode == 0xF6 ? 1 : (operand16 ? 2 : 4);
    }
    if (properties & kImm8) immediate += 1;
    if (properties & kImm16) immediate += 2;
    if (properties & kImmZ) immediate += operand16 ? 2 : 4;
    if (properties & kOffset) immediate += address16 ? 2 : 4;
    if (properties & kFarPointer) immediate += operand16 ? 4 : 6;
    p += immediate;

    if (properties & kRel8) {
        decoded.relativeSize = 1;
        decoded.relative = static_cast<int8_t>(*p);
        p += 1;
    } else if (properties & kRelZ) {
        if (operand16) return Invalid(decoded);
        decoded.relativeSize = 4;
        decoded.relative = static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
        p += 4;
    }
    if (p - code > kMaxInstructionLength) return Invalid(decoded);
    decoded.length = static_cast<uint8_t>(p - code);
    return decoded;
}
