// The file-open dialog hook on Wine's real GetOpenFileNameW: a page's file
// input (the stand-in engine calls the system function) is answered by the
// unit's FileDialogRequest event, or falls through to the real dialog, which
// the test driver finds and cancels. A failed hook leaves a working view and
// a line in the debugger output.
#include "webview_test_support.h"

#include "driver/driver_client.h"
#include "support/test_support.h"
#include "webview/file_dialog_hook.h"
#include "webview/view_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <thread>

using namespace webviewtest;

namespace {

const char kDialogTitle[] = "Stand-in file input";

// What the page's GetOpenFileNameW call came back with.
struct Choice {
    int result = -1;
    int fileOffset = -1, extensionOffset = -1;
    std::string name;  // UTF-8
};

Choice ChooseFile(wkeWebView view) {
    std::istringstream reply(EngineChannel::Get().SendFirstLine("@" + Num(view) + " choosefile"));
    Choice choice;
    std::string ok;
    reply >> ok >> choice.result >> choice.fileOffset >> choice.extensionOffset;
    reply.get();
    std::getline(reply, choice.name);
    return choice;
}

const uint8_t* SystemDialogCode() { return reinterpret_cast<const uint8_t*>(GetOpenFileNameW); }

class FileDialogHookTest : public testing::Test {
protected:
    // A unit of its own, which answers the dialog as long as it is the first one alive.
    wkeWebView NewView(uint32_t unitId) {
        HWND unit = CreateUnit(form.window(), 40, unitId);
        return unit ? StateOfUnit(unit)->view() : 0;
    }
    void Answer(uint32_t unitId, const std::string& gbkName, std::optional<int> answer) {
        BindUnitEvent(40, unitId, kEventFileDialogRequest, [=](UnitEvent& event) -> std::optional<int> {
            event.Text(0) = gbkName;
            return answer;
        });
    }
    TestForm form;
};

TEST_F(FileDialogHookTest, PageFileRequestIsAnsweredByTheUnitWithoutADialog) {
    wkeWebView view = NewView(1);
    ASSERT_NE(view, 0);
    // The system function itself, not this program's import stub: the engine's calls come through it.
    EXPECT_EQ(FileDialogHookManager.target, reinterpret_cast<void*>(GetOpenFileNameW));
    // Without the hook the real dialog would wait for a user.
    ASSERT_EQ(SystemDialogCode()[0], 0xE9) << "the system function jumps to the detour";
    EXPECT_NE(reinterpret_cast<void*>(OpenFileNameFunction), reinterpret_cast<void*>(GetOpenFileNameW));
    struct {
        const char* name;
        std::string handlerName;  // GBK
        Choice expected;
    } cases[] = {
        {"a name", Gbk("C:\\data\\中文.txt"), {1, 8, 11, "C:\\data\\中文.txt"}},
        {"an empty name", "", {0, 0, 0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Answer(1, c.handlerName, 0);
        Choice choice = ChooseFile(view);
        EXPECT_EQ(choice.result, c.expected.result);
        EXPECT_EQ(choice.fileOffset, c.expected.fileOffset);
        EXPECT_EQ(choice.extensionOffset, c.expected.extensionOffset);
        EXPECT_EQ(choice.name, c.expected.name);
    }
}

BOOL CALLBACK ReadFileNameField(HWND child, LPARAM text) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (strcmp(className, "Edit") != 0) return TRUE;
    wchar_t buffer[MAX_PATH] = {};
    GetWindowTextW(child, buffer, MAX_PATH);
    *reinterpret_cast<std::wstring*>(text) = buffer;
    return FALSE;
}

TEST_F(FileDialogHookTest, WithoutAFalseAnswerTheRealDialogOpensWithTheName) {
    wkeWebView view = NewView(1);
    ASSERT_NE(view, 0);
    Answer(1, "initial.txt", 1);
    bool shown = false, closed = false;
    std::wstring nameField;
    // The dialog holds this thread in its own message loop; the driver works from outside.
    std::thread user([&]() {
        shown = driver::WaitForWindow(GetCurrentProcessId(), kDialogTitle, 30000);
        // Another process cannot read an edit field's text, but this one can.
        EnumChildWindows(FindWindowA("#32770", kDialogTitle), ReadFileNameField, reinterpret_cast<LPARAM>(&nameField));
        closed = driver::CloseWindow(GetCurrentProcessId(), kDialogTitle);
        // A dialog the driver missed must not hold the test for good.
        if (!closed) PostMessageA(FindWindowA("#32770", kDialogTitle), WM_CLOSE, 0, 0);
    });
    Choice choice = ChooseFile(view);
    user.join();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    EXPECT_EQ(nameField, L"initial.txt") << "the unit's name stands in the dialog";
    EXPECT_EQ(choice.result, 0) << "cancelled";
}

TEST_F(FileDialogHookTest, SecondUnitLeavesTheSingleHookAsItIs) {
    wkeWebView first = NewView(1);
    ASSERT_NE(first, 0);
    const std::string patched(reinterpret_cast<const char*>(SystemDialogCode()), 7);
    const SystemOpenFileNameFn trampoline = OpenFileNameFunction;
    const HookManager before = FileDialogHookManager;
    wkeWebView second = NewView(2);
    ASSERT_NE(second, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(SystemDialogCode()), 7), patched);
    EXPECT_EQ(OpenFileNameFunction, trampoline);
    EXPECT_EQ(FileDialogHookManager.target, before.target);
    EXPECT_TRUE(FileDialogHookManager.enabled);
    // The first unit still answers, also for the second one's page.
    Answer(1, "first.txt", 0);
    Answer(2, "second.txt", 0);
    EXPECT_EQ(ChooseFile(second).name, "first.txt");
}

// Collects what the process writes to the debugger output.
std::string DebugOutput;
LONG CALLBACK CollectDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
        DebugOutput += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(FileDialogHookTest, FailedHookLeavesAWorkingViewAndADebugLine) {
    RemoveFileDialogHook();  // the hook an earlier unit put in place
    ASSERT_EQ(SystemDialogCode()[0], 0x55) << "removal put the system function back";
    const SystemOpenFileNameFn real = OpenFileNameFunction;
    // A function that cannot be hooked: LOOP leaving its first bytes.
    auto* unhookable =
        static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    const uint8_t code[] = {0xE2, 0x40, 0xC3};
    memcpy(unhookable, code, sizeof code);
    OpenFileNameFunction = reinterpret_cast<SystemOpenFileNameFn>(unhookable);
    DebugOutput.clear();
    PVOID collector = AddVectoredExceptionHandler(1, CollectDebugOutput);
    HWND unit = CreateUnit(form.window(), 40, 3);
    RemoveVectoredExceptionHandler(collector);
    OpenFileNameFunction = real;

    ASSERT_NE(unit, nullptr) << "the unit is made without the hook";
    EXPECT_NE(DebugOutput.find("apiHookError 4"), std::string::npos) << DebugOutput;
    EXPECT_EQ(SystemDialogCode()[0], 0x55);
    EventRecorder events(40, 3);
    events.Answer(kEventConsoleMessage, std::nullopt);
    EngineChannel::Get().Send("@" + Num(StateOfUnit(unit)->view()) + " console 1 still working");
    ASSERT_EQ(events.Of(kEventConsoleMessage).size(), 1u);
    EXPECT_EQ(events.Of(kEventConsoleMessage)[0].texts[0], "still working");

    // The failure left nothing behind: the next unit hooks the real function.
    ASSERT_NE(NewView(4), 0);
    EXPECT_EQ(SystemDialogCode()[0], 0xE9);
    VirtualFree(unhookable, 0, MEM_RELEASE);
}

}  // namespace
