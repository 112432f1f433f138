// Finding and loading the engine, seen from outside: a small program in a
// temporary folder makes a view, and the test reads and presses the boxes it
// shows and checks how it ends.
#include "support/child_program.h"
#include "support/test_support.h"
#include "webview/text_conversion.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using testsupport::Box;
using testsupport::ChildProgram;
using testsupport::TempFolder;

namespace {

// node.dll无效, 请重新下载
const wchar_t kLoadFailedCaption[] = L"node.dll\u65e0\u6548, \u8bf7\u91cd\u65b0\u4e0b\u8f7d";
// 获取命令失败, 请使用配套发布的node.dll版本
const wchar_t kExportMissingText[] =
    L"\u83b7\u53d6\u547d\u4ee4\u5931\u8d25, \u8bf7\u4f7f\u7528\u914d\u5957\u53d1\u5e03\u7684node.dll\u7248\u672c";
// 错误 and 请把node.dll放在[...]位置
const wchar_t kNotFoundCaption[] = L"\u9519\u8bef";
const wchar_t kNotFoundBefore[] = L"\u8bf7\u628anode.dll\u653e\u5728[";
const wchar_t kNotFoundAfter[] = L"]\u4f4d\u7f6e";

std::string Bin(const std::string& name) { return testsupport::BinDir() + "\\" + name; }

bool CopyInto(const std::string& from, const std::string& folder, const std::string& name) {
    return CopyFileA(from.c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

// Runs the child to its end and answers its exit code; fails when it shows a box.
long RunWithoutBox(ChildProgram& child) {
    for (int waited = 0; waited < 20000; waited += 50) {
        long code = child.ExitCode(50);
        if (code != -1) return code;
        if (child.ShowsBox()) {
            Box box = child.PressNextBox();
            ADD_FAILURE() << "unexpected box";
            return -2;
        }
    }
    return -1;
}

TEST(EngineLoading, EngineBesideTheProgramLoadsWithoutAnyBox) {
    TempFolder folder;
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), folder.Path(), "webview_child.exe"));
    ASSERT_TRUE(CopyInto(Bin("node.dll"), folder.Path(), "node.dll"));
    ChildProgram child(folder.Path(), "view");
    ASSERT_TRUE(child.started());
    EXPECT_EQ(RunWithoutBox(child), 7);
}

TEST(EngineLoading, SetPathToMissingFileShowsItInTheLoadBoxAndEndsWithZero) {
    TempFolder folder;
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), folder.Path(), "webview_child.exe"));
    ASSERT_TRUE(CopyInto(Bin("node.dll"), folder.Path(), "node.dll"));
    std::string missing = folder.Path() + "\\gone\\node.dll";
    ChildProgram child(folder.Path(), "view \"" + missing + "\"");
    ASSERT_TRUE(child.started());
    Box box = child.PressNextBox();
    // A set path skips the search, so this is the first and only box.
    EXPECT_EQ(box.caption, kLoadFailedCaption);
    EXPECT_EQ(box.text, GbkToWide(missing));
    EXPECT_EQ(child.ExitCode(), 0);
}

TEST(EngineLoading, MissingExportShowsItsNameAsCaptionAndEndsWithZero) {
    TempFolder folder;
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), folder.Path(), "webview_child.exe"));
    ASSERT_TRUE(CopyInto(Bin("node-without-" OMITTED_EXPORT "\\node.dll"), folder.Path(), "node.dll"));
    ChildProgram child(folder.Path(), "view");
    ASSERT_TRUE(child.started());
    Box box = child.PressNextBox();
    EXPECT_EQ(box.caption, GbkToWide(OMITTED_EXPORT));
    EXPECT_EQ(box.text, kExportMissingText);
    EXPECT_EQ(child.ExitCode(), 0);
}

TEST(EngineLoading, NoEngineAndNoPathSaysWhereToPutItThenFailsToLoad) {
    TempFolder folder;
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), folder.Path(), "webview_child.exe"));
    ChildProgram child(folder.Path(), "view");
    ASSERT_TRUE(child.started());
    Box where = child.PressNextBox();
    EXPECT_EQ(where.caption, kNotFoundCaption);
    EXPECT_EQ(where.text, kNotFoundBefore + GbkToWide(folder.Path()) + L"\\node.dll" + kNotFoundAfter);
    // The load then tries the bare name, which the system does not find either.
    Box load = child.PressNextBox();
    EXPECT_EQ(load.caption, kLoadFailedCaption);
    EXPECT_EQ(load.text, L"node.dll");
    EXPECT_EQ(child.ExitCode(), 0);
}

TEST(EngineLoading, ProgramInLibFolderFindsTheEngineInTheParent) {
    TempFolder folder;
    std::string lib = folder.Path() + "\\lib";
    ASSERT_TRUE(CreateDirectoryA(lib.c_str(), nullptr));
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), lib, "webview_child.exe"));
    ASSERT_TRUE(CopyInto(Bin("node.dll"), folder.Path(), "node.dll"));
    ChildProgram child(lib, "view");
    ASSERT_TRUE(child.started());
    EXPECT_EQ(RunWithoutBox(child), 7);
}

TEST(EngineLoading, FolderNameEndingInLibIsAnOrdinaryFolder) {
    TempFolder folder;
    std::string calib = folder.Path() + "\\Calib";
    ASSERT_TRUE(CreateDirectoryA(calib.c_str(), nullptr));
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), calib, "webview_child.exe"));
    ASSERT_TRUE(CopyInto(Bin("node.dll"), calib, "node.dll"));
    ChildProgram child(calib, "view");
    ASSERT_TRUE(child.started());
    EXPECT_EQ(RunWithoutBox(child), 7);
}

TEST(EngineLoading, EndingBeforeAnyViewNeverLoadsTheEngine) {
    TempFolder folder;
    ASSERT_TRUE(CopyInto(Bin("webview_child.exe"), folder.Path(), "webview_child.exe"));
    ChildProgram child(folder.Path(), "exit");
    ASSERT_TRUE(child.started());
    EXPECT_EQ(RunWithoutBox(child), 7);
}

}  // namespace
