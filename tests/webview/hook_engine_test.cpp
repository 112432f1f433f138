// The inline hook engine on code of our own, written into pages we allocate:
// which functions can be hooked and what their trampolines hold, that hooked
// and trampoline calls reach the right code, that disabling puts every byte
// back, that threads stopped inside the patch follow the code, and the
// manager that hooks through a variable.
#include "webview/hooks/hook_engine.h"
#include "webview/hooks/hook_manager.h"
#include "webview/hooks/instruction_decoder.h"
#include "webview/hooks/trampoline.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

using Code = std::vector<uint8_t>;

// A page for synthetic functions. Its background byte is no filler, so only
// what a case writes decides how a hook is patched.
class CodePage {
public:
    CodePage() {
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
        memset(base_, 0x58, 4096);
    }
    ~CodePage() { VirtualFree(base_, 0, MEM_RELEASE); }
    uint8_t* Put(size_t offset, const Code& code) {
        memcpy(base_ + offset, code.data(), code.size());
        return base_ + offset;
    }

private:
    uint8_t* base_;
};

constexpr size_t kTarget = 0x100, kReplacement = 0x800;
const Code kReturns42 = {0xB8, 42, 0, 0, 0, 0xC3};
const Code kReturns7 = {0xB8, 7, 0, 0, 0, 0xC3};

int Call(const void* code) { return reinterpret_cast<int (*)()>(const_cast<void*>(code))(); }

// One instruction of an expected trampoline: bytes as they are, or opcode
// bytes and a 32-bit displacement that must reach target + destination.
struct Piece {
    Code bytes;
    int destination = -1;
};

Code Expected(const std::vector<Piece>& pieces, const uint8_t* trampoline, const uint8_t* target) {
    Code code;
    for (const Piece& piece : pieces) {
        code.insert(code.end(), piece.bytes.begin(), piece.bytes.end());
        if (piece.destination < 0) continue;
        uintptr_t end = reinterpret_cast<uintptr_t>(trampoline) + code.size() + 4;
        int32_t displacement = static_cast<int32_t>(reinterpret_cast<uintptr_t>(target) + piece.destination - end);
        const auto* bytes = reinterpret_cast<const uint8_t*>(&displacement);
        code.insert(code.end(), bytes, bytes + 4);
    }
    return code;
}

Code Read(const uint8_t* at, size_t count) { return Code(at, at + count); }

Code Repeated(uint8_t byte, size_t count, const Code& tail) {
    Code code(count, byte);
    code.insert(code.end(), tail.begin(), tail.end());
    return code;
}

TEST(InstructionDecoder, LengthOpcodeDisplacementAndInvalidForms) {
    struct {
        Code bytes;
        int length;  // 0: invalid
        uint8_t opcode, opcode2;
        int relative;
    } cases[] = {
        {{0x55}, 1, 0x55, 0, 0},
        {{0x83, 0xE4, 0xF0}, 3, 0x83, 0, 0},
        {{0x81, 0xEC, 0xC0, 0, 0, 0}, 6, 0x81, 0, 0},
        {{0x8B, 0x44, 0x24, 0x08}, 4, 0x8B, 0, 0},        // SIB and disp8
        {{0x8B, 0x04, 0x25, 1, 2, 3, 4}, 7, 0x8B, 0, 0},  // SIB without base: disp32
        {{0x8B, 0x05, 1, 2, 3, 4}, 6, 0x8B, 0, 0},        // absolute address
        {{0xC7, 0x84, 0x24, 1, 2, 3, 4, 5, 6, 7, 8}, 11, 0xC7, 0, 0},
        {{0x66, 0xB8, 0x34, 0x12}, 4, 0xB8, 0, 0},        // 16-bit immediate
        {{0x67, 0x8B, 0x06, 0x34, 0x12}, 5, 0x8B, 0, 0},  // 16-bit addressing
        {{0x67, 0xA1, 0x34, 0x12}, 4, 0xA1, 0, 0},
        {{0xA1, 1, 2, 3, 4}, 5, 0xA1, 0, 0},
        {{0xF6, 0xC1, 0x01}, 3, 0xF6, 0, 0},  // TEST has an immediate
        {{0xF6, 0xD1}, 2, 0xF6, 0, 0},        // NOT has none
        {{0x66, 0xF7, 0xC1, 1, 2}, 5, 0xF7, 0, 0},
        {{0xC8, 0x10, 0x00, 0x01}, 4, 0xC8, 0, 0},
        {{0xC2, 0x08, 0x00}, 3, 0xC2, 0, 0},
        {{0x9A, 1, 2, 3, 4, 5, 6}, 7, 0x9A, 0, 0},
        {{0xC4, 0x06}, 2, 0xC4, 0, 0},  // LES, not VEX
        {{0xD9, 0xEE}, 2, 0xD9, 0, 0},
        {{0x66, 0x0F, 0x3A, 0x0F, 0xC1, 0x08}, 6, 0x0F, 0x3A, 0},
        {{0x0F, 0x38, 0x00, 0xC1}, 4, 0x0F, 0x38, 0},
        {{0x0F, 0x0F, 0xC1, 0xB4}, 4, 0x0F, 0x0F, 0},
        {{0xEB, 0xFE}, 2, 0xEB, 0, -2},
        {{0x74, 0x3C}, 2, 0x74, 0, 0x3C},
        {{0xE2, 0x80}, 2, 0xE2, 0, -128},
        {{0xE8, 0xFB, 0xFF, 0xFF, 0xFF}, 5, 0xE8, 0, -5},
        {{0x0F, 0x84, 0x00, 0x01, 0x00, 0x00}, 6, 0x0F, 0x84, 0x100},
        {Repeated(0x66, 14, {0x90}), 15, 0x90, 0, 0},
        {Repeated(0x66, 15, {0x90}), 0, 0, 0, 0},  // 16 bytes
        {{0x0F, 0x04}, 0, 0, 0, 0},
        {{0xC5, 0xF8, 0x77}, 0, 0, 0, 0},                    // VEX
        {{0x62, 0xF1, 0x7C, 0x48, 0x58, 0xC0}, 0, 0, 0, 0},  // EVEX
        {{0x8F, 0xE8, 0x78, 0xC0, 0xC0, 0x01}, 0, 0, 0, 0},  // XOP
        {{0x66, 0xE8, 0x00, 0x00}, 0, 0, 0, 0},              // 16-bit relative call
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testsupport::Hex(std::string(c.bytes.begin(), c.bytes.end())));
        X86Instruction in = DecodeX86Instruction(c.bytes.data());
        EXPECT_EQ(in.invalid, c.length == 0);
        EXPECT_EQ(in.length, c.length);
        if (!c.length) continue;
        EXPECT_EQ(in.opcode, c.opcode);
        EXPECT_EQ(in.opcode2, c.opcode2);
        EXPECT_EQ(in.relative, c.relative);
    }
}

class HookEngineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(InitializeHookEngine(), kHookOk); }
    void TearDown() override { EXPECT_EQ(ShutdownHookEngine(), kHookOk); }
};

struct HookCase {
    const char* name;
    Code code;                                    // at the target
    std::vector<std::pair<int, Code>> elsewhere;  // more code, by offset from the target
    HookStatus status;
    std::vector<Piece> trampoline;
    bool patchAbove;
    int result;  // what the function answers, through the trampoline too (-1: not called)
};

const HookCase kHookCases[] = {
    {"ordinary prologue",
     {0x55, 0x89, 0xE5, 0xB8, 42, 0, 0, 0, 0x5D, 0xC3},
     {},
     kHookOk,
     {{{0x55, 0x89, 0xE5, 0xB8, 42, 0, 0, 0}}, {{0xE9}, 8}},
     false,
     42},
    {"far relative jump first", {0xE9, 0xFB, 0x03, 0, 0}, {{0x400, kReturns42}}, kHookOk, {{{0xE9}, 0x400}}, false, 42},
    {"relative call moved",
     {0xE8, 0xFB, 0x03, 0, 0, 0x40, 0xC3},
     {{0x400, {0xB8, 41, 0, 0, 0, 0xC3}}},
     kHookOk,
     {{{0xE8}, 0x400}, {{0xE9}, 5}},
     false,
     42},
    {"short conditional jump widened",
     {0x31, 0xC0, 0x74, 0x3C, 0x40, 0xC3},
     {{0x40, kReturns42}},
     kHookOk,
     {{{0x31, 0xC0}}, {{0x0F, 0x84}, 0x40}, {{0x40}}, {{0xE9}, 5}},
     false,
     42},
    {"jump inside the patch kept",
     {0x31, 0xC0, 0xEB, 0x00, 0x40, 0xC3},
     {},
     kHookOk,
     {{{0x31, 0xC0, 0xEB, 0x00, 0x40}}, {{0xE9}, 5}},
     false,
     1},
    {"return padded with filler", {0x31, 0xC0, 0xC3, 0x90, 0x90}, {}, kHookOk, {{{0x31, 0xC0, 0xC3}}}, false, 0},
    {"one-byte return patched above", {0xC3, 0xCC}, {{-5, Code(5, 0xCC)}}, kHookOk, {{{0xC3}}}, true, -1},
    {"one-byte return followed by code", {0xC3}, {{-5, Code(5, 0xCC)}}, kHookUnsupported, {}, false, -1},
    {"LOOP leaving the patch", {0xE2, 0x40, 0xC3}, {}, kHookUnsupported, {}, false, -1},
    {"JCXZ leaving the patch", {0xE3, 0x40, 0xC3}, {}, kHookUnsupported, {}, false, -1},
    {"undecodable first instruction", {0xC5, 0xF8, 0x77, 0xC3}, {}, kHookUnsupported, {}, false, -1},
    {"jump back over a widened jump", {0x74, 0x3C, 0xEB, 0xFC, 0xC3}, {}, kHookUnsupported, {}, false, -1},
    {"instruction longer than 15 bytes", Repeated(0x66, 15, {0x90}), {}, kHookUnsupported, {}, false, -1},
};

class HookCaseTest : public HookEngineTest, public testing::WithParamInterface<HookCase> {};

TEST_P(HookCaseTest, TrampolinePatchAndRestore) {
    const HookCase& c = GetParam();
    CodePage page;
    uint8_t* target = page.Put(kTarget, c.code);
    for (const auto& more : c.elsewhere) page.Put(kTarget + more.first, more.second);
    uint8_t* replacement = page.Put(kReplacement, kReturns7);
    const Code before = Read(target - 5, 32);

    void* trampoline = nullptr;
    ASSERT_EQ(CreateHook(target, replacement, &trampoline), c.status);
    if (c.status != kHookOk) {
        EXPECT_EQ(EnableHook(target), kHookNotCreated) << "nothing is left of a refused hook";
        return;
    }
    auto* slot = static_cast<uint8_t*>(trampoline);
    Code expected = Expected(c.trampoline, slot, target);
    EXPECT_EQ(Read(slot, expected.size()), expected);
    EXPECT_EQ(Read(target - 5, 32), before) << "creating patches nothing";

    ASSERT_EQ(EnableHook(target), kHookOk);
    uint8_t* jump = c.patchAbove ? target - 5 : target;
    EXPECT_EQ(jump[0], 0xE9);
    int32_t displacement;
    memcpy(&displacement, jump + 1, 4);
    EXPECT_EQ(jump + 5 + displacement, replacement);
    if (c.patchAbove) {
        EXPECT_EQ(Read(target, 2), (Code{0xEB, 0xF9}));
    }
    EXPECT_EQ(Call(target), 7);
    if (c.result >= 0) {
        EXPECT_EQ(Call(trampoline), c.result);
    }

    ASSERT_EQ(DisableHook(target), kHookOk);
    EXPECT_EQ(Read(target - 5, 32), before) << "every byte back";
    if (c.result >= 0) {
        EXPECT_EQ(Call(target), c.result);
    }
}

INSTANTIATE_TEST_SUITE_P(SyntheticCode, HookCaseTest, testing::ValuesIn(kHookCases),
                         [](const testing::TestParamInfo<HookCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

// Two widened conditional jumps and a 15-byte instruction, then the jump
// back: the largest trampoline the rules allow, exactly one slot.
TEST(Trampoline, LongestOneFillsItsSlotAndNoMore) {
    CodePage page;
    const Code longest = Repeated(0x3E, 4, {0xC7, 0x84, 0x24, 1, 2, 3, 4, 5, 6, 7, 8});
    uint8_t* target = page.Put(kTarget, Code{0x74, 0x7F, 0x75, 0x7F});
    page.Put(kTarget + 4, longest);
    // The slot ends where an inaccessible page begins, so a byte written past it faults.
    auto* pages = static_cast<uint8_t*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    ASSERT_TRUE(VirtualProtect(pages + 4096, 4096, PAGE_NOACCESS, &old));
    uint8_t* slot = pages + 4096 - 32;
    TrampolineLayout layout;
    ASSERT_TRUE(BuildTrampoline(target, slot, layout));
    Code expected = Expected({{{0x0F, 0x84}, 0x81}, {{0x0F, 0x85}, 0x83}, {longest}, {{0xE9}, 19}}, slot, target);
    ASSERT_EQ(expected.size(), 32u);
    EXPECT_EQ(Read(slot, 32), expected);
    EXPECT_EQ(layout.count, 3);
    EXPECT_EQ(Read(layout.newOffsets, 3), (Code{0, 6, 12}));
    EXPECT_EQ(Read(layout.oldOffsets, 3), (Code{0, 2, 4}));
    VirtualFree(pages, 0, MEM_RELEASE);
}

DWORD Eip(HANDLE thread) {
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread, &context);
    return context.Eip;
}

TEST_F(HookEngineTest, ThreadStoppedInsideThePatchFollowsTheCode) {
    CodePage page;
    // The second instruction lies at 2 in the target and at 6 in the trampoline.
    uint8_t* target = page.Put(kTarget, {0x74, 0x3C, 0x31, 0xC0, 0x40, 0xC3});
    uint8_t* spin = page.Put(0x600, {0xEB, 0xFE});
    void* trampoline = nullptr;
    ASSERT_EQ(CreateHook(target, page.Put(kReplacement, kReturns7), &trampoline), kHookOk);
    HANDLE thread = CreateThread(nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(spin), nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    // Park it: once it spins, hold it and put it on the second instruction.
    ASSERT_TRUE(testsupport::WaitFor(
        [&]() {
            SuspendThread(thread);
            if (Eip(thread) == reinterpret_cast<DWORD>(spin)) return true;
            ResumeThread(thread);
            return false;
        },
        10000));
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    ASSERT_TRUE(GetThreadContext(thread, &context));
    context.Eip = reinterpret_cast<DWORD>(target + 2);
    ASSERT_TRUE(SetThreadContext(thread, &context));

    EXPECT_EQ(EnableHook(target), kHookOk);
    EXPECT_EQ(Eip(thread), reinterpret_cast<DWORD>(trampoline) + 6);
    EXPECT_EQ(DisableHook(target), kHookOk);
    EXPECT_EQ(Eip(thread), reinterpret_cast<DWORD>(target + 2));
    TerminateThread(thread, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
}

TEST(HookEngineStatus, EachOperationAnswersItsStatus) {
    CodePage page;
    uint8_t* a = page.Put(kTarget, kReturns42);
    uint8_t* b = page.Put(0x300, kReturns42);
    uint8_t* replacement = page.Put(kReplacement, kReturns7);
    void* trampoline = nullptr;
    struct Step {
        const char* name;
        std::function<HookStatus()> operation;
        HookStatus status;
        int a, b;  // what calling a and b answers afterwards
    } steps[] = {
        {"create before initialising", [&]() { return CreateHook(a, replacement, &trampoline); }, kHookNotInitialized,
         42, 42},
        {"enable before initialising", [&]() { return EnableHook(a); }, kHookNotInitialized, 42, 42},
        {"shut down before initialising", [&]() { return ShutdownHookEngine(); }, kHookNotInitialized, 42, 42},
        {"initialise", [&]() { return InitializeHookEngine(); }, kHookOk, 42, 42},
        {"initialise again", [&]() { return InitializeHookEngine(); }, kHookAlreadyInitialized, 42, 42},
        {"create", [&]() { return CreateHook(a, replacement, &trampoline); }, kHookOk, 42, 42},
        {"create again", [&]() { return CreateHook(a, replacement, &trampoline); }, kHookAlreadyCreated, 42, 42},
        {"enable an unknown target", [&]() { return EnableHook(b); }, kHookNotCreated, 42, 42},
        {"disable a disabled hook", [&]() { return DisableHook(a); }, kHookAlreadyDisabled, 42, 42},
        {"enable", [&]() { return EnableHook(a); }, kHookOk, 7, 42},
        {"enable again", [&]() { return EnableHook(a); }, kHookAlreadyEnabled, 7, 42},
        {"create another", [&]() { return CreateHook(b, replacement, nullptr); }, kHookOk, 7, 42},
        {"enable all", [&]() { return EnableHook(kAllHooks); }, kHookOk, 7, 7},
        {"disable all", [&]() { return DisableHook(kAllHooks); }, kHookOk, 42, 42},
        {"enable before shutting down", [&]() { return EnableHook(b); }, kHookOk, 42, 7},
        {"shut down", [&]() { return ShutdownHookEngine(); }, kHookOk, 42, 42},
    };
    for (Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.operation(), step.status);
        EXPECT_EQ(Call(a), step.a);
        EXPECT_EQ(Call(b), step.b);
    }
    MEMORY_BASIC_INFORMATION block;
    ASSERT_TRUE(VirtualQuery(trampoline, &block, sizeof block));
    EXPECT_EQ(block.State, static_cast<DWORD>(MEM_FREE)) << "shutting down releases the trampoline blocks";
}

TEST(HookEngineMemory, OnlyExecutablePagesCanBeHooked) {
    struct {
        DWORD protection;  // 0: reserved, not committed
        HookStatus status;
    } cases[] = {
        // Readable pages first: an engine that took them would fail here, before it read a guard page.
        {PAGE_EXECUTE_READ, kHookOk},
        {PAGE_EXECUTE_READWRITE | PAGE_NOCACHE, kHookOk},
        {PAGE_READWRITE | PAGE_NOCACHE, kHookNotExecutable},
        {PAGE_READWRITE, kHookNotExecutable},
        {PAGE_READONLY | PAGE_GUARD, kHookNotExecutable},
        {PAGE_EXECUTE_READ | PAGE_GUARD, kHookNotExecutable},
        {PAGE_NOACCESS, kHookNotExecutable},
        {0, kHookNotExecutable},
    };
    CodePage page;
    uint8_t* replacement = page.Put(kReplacement, kReturns7);
    size_t next = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.protection);
        // A fresh engine each time: the next page may come at the address of the last.
        ASSERT_EQ(InitializeHookEngine(), kHookOk);
        auto* tested =
            static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
        memcpy(tested, kReturns42.data(), kReturns42.size());
        DWORD old;
        if (c.protection)
            ASSERT_TRUE(VirtualProtect(tested, 4096, c.protection, &old));
        else
            ASSERT_TRUE(VirtualFree(tested, 4096, MEM_DECOMMIT));
        ASSERT_EQ(CreateHook(tested, replacement, nullptr), c.status) << "as target";
        EXPECT_EQ(CreateHook(page.Put(next += 0x10, kReturns42), tested, nullptr), c.status) << "as replacement";
        EXPECT_EQ(ShutdownHookEngine(), kHookOk);
        VirtualFree(tested, 0, MEM_RELEASE);
    }
}

int RaisedBy(const std::function<void()>& operation) {
    try {
        operation();
    } catch (apiHookError error) {
        return error;
    }
    return -1;
}

TEST(ApiHookManager, HooksThroughTheVariableOnceAndPutsItBack) {
    CodePage page;
    uint8_t* target = page.Put(kTarget, kReturns42);
    uint8_t* replacement = page.Put(kReplacement, kReturns7);
    void* variable = target;
    HookManager manager;
    EXPECT_FALSE(InstallApiHook(manager, nullptr, replacement, true));
    EXPECT_FALSE(InstallApiHook(manager, &variable, nullptr, true));
    ASSERT_TRUE(InstallApiHook(manager, &variable, replacement, true));
    void* trampoline = variable;
    EXPECT_NE(trampoline, target);
    EXPECT_EQ(Call(variable), 42);
    EXPECT_EQ(Call(target), 7);
    // The next unit's install changes nothing.
    EXPECT_TRUE(InstallApiHook(manager, &variable, replacement, true));
    EXPECT_EQ(variable, trampoline);
    EXPECT_EQ(Call(target), 7);

    RemoveApiHook(manager);
    EXPECT_EQ(variable, target);
    EXPECT_EQ(Read(target, 6), kReturns42);
    EXPECT_EQ(manager.target, nullptr);
    EXPECT_EQ(CreateHook(target, replacement, nullptr), kHookNotInitialized) << "the last user shut the engine down";
}

TEST(ApiHookManager, FailedCreationRaisesEveryTimeAndLeavesNothing) {
    CodePage page;
    uint8_t* target = page.Put(kTarget, {0xE2, 0x40, 0xC3});
    uint8_t* replacement = page.Put(kReplacement, kReturns7);
    void* variable = target;
    HookManager manager;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_EQ(RaisedBy([&]() { InstallApiHook(manager, &variable, replacement, true); }), kApiHookCreateFailed);
        EXPECT_EQ(manager.target, nullptr);
        EXPECT_EQ(variable, target);
        EXPECT_EQ(CreateHook(target, replacement, nullptr), kHookNotInitialized) << "the engine is shut down again";
    }
}
}  // namespace
