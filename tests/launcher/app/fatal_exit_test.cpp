// Every way a failure ends the program, seen from outside: the child shows
// its box in front of its own top-most window, and once it is pressed the
// program ends with 0 after running its exit routine exactly once.
#include <gtest/gtest.h>

#include <string>

#include "support/child_program.h"
#include "support/test_support.h"
#include "utilities/whole_file.h"

using testsupport::Box;
using testsupport::ChildProgram;
using testsupport::TempFolder;

namespace {

// 运行时出错!, 错误
const wchar_t kRuntimeErrorText[] = L"\u8fd0\u884c\u65f6\u51fa\u9519!";
const wchar_t kRuntimeErrorTitle[] = L"\u9519\u8bef";
// 获取命令失败, 请使用配套发布的node.dll版本
const wchar_t kExportMissingText[] =
    L"\u83b7\u53d6\u547d\u4ee4\u5931\u8d25, \u8bf7\u4f7f\u7528\u914d\u5957\u53d1\u5e03\u7684node.dll\u7248\u672c";

struct FatalCase {
    const char* mode;
    const wchar_t* caption;
    const wchar_t* text;
};

const FatalCase kCases[] = {
    {"worker", kRuntimeErrorTitle, kRuntimeErrorText},        // a throwing step of a flow thread
    {"notification", kRuntimeErrorTitle, kRuntimeErrorText},  // a throwing completion routine
    {"handler", kRuntimeErrorTitle, kRuntimeErrorText},       // a throwing page event handler
    {"export", L"qmNoSuchExport", kExportMissingText},        // the engine lacks an export
};

bool CopyInto(const std::string& name, const std::string& folder) {
    return CopyFileA((testsupport::BinDir() + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

TEST(FatalExit, EachFailureShowsItsBoxInFrontAndEndsAfterTheExitRoutineRanOnce) {
    for (const FatalCase& fatal : kCases) {
        SCOPED_TRACE(fatal.mode);
        TempFolder folder;
        ASSERT_TRUE(CopyInto("fatal_exit_child.exe", folder.Path()));
        ASSERT_TRUE(CopyInto("node.dll", folder.Path()));
        ChildProgram child(folder.Path(), fatal.mode, "fatal_exit_child.exe");
        ASSERT_TRUE(child.started());
        Box box = child.PressNextBox();
        EXPECT_EQ(box.caption, fatal.caption);
        EXPECT_EQ(box.text, fatal.text);
        EXPECT_TRUE(box.inFront);
        EXPECT_EQ(child.ExitCode(), 0);
        EXPECT_EQ(ReadWholeFile(folder.Path() + "\\exit-routine.txt"), "ran\n");
    }
}

}  // namespace
