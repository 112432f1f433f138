// The page's actions through the real launcher, the page played through the
// stand-in engine's control channel.
#include <gtest/gtest.h>

#include <thread>

#include "assets/remove_border_image.h"
#include "e2e/page_session.h"
#include "launcher/ui/tray_icon.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using webviewtest::EngineChannel;
using webviewtest::Gbk;

// The page's dialogs as the engine receives them (UTF-8).
const char kLanguageDone[] = "Swal.fire('修改成功', '已成功修改 FiveM/GTA5 的语言', 'success');";
const char kLanguageRefused[] = "Swal.fire('修改失败', '语言值无效，只能由字母、数字、“-”和“_”组成', 'error');";
const char kLanguageNotWritten[] = "Swal.fire('修改失败', '未能写入语言设置', 'error');";
const char kBorderDone[] = "Swal.fire('安装成功', '已成功安装去边界补丁', 'success');";
const char kNameRefused[] = "Swal.fire('安装失败', '文件名无效，不能包含路径、盘符或控制字符', 'error');";
const char kOwnNameRefused[] = "Swal.fire('安装失败', '文件名无效，不能与启动器自身的文件同名', 'error');";
const char kInstalling[] =
    "Swal.fire({title:'正在安装中', text:'启动器正在下载并安装此附加包，请稍候...', allowOutsideClick: false});"
    "Swal.showLoading();";

// The game's Language value as "reg query" prints it; empty when unset.
std::string RegisteredLanguage(const std::string& scratchFile) {
    DeleteFileA(scratchFile.c_str());
    RunCommandLine(
        "cmd /c reg query \"HKLM\\SOFTWARE\\WOW6432Node\\Rockstar Games\\Grand Theft Auto V\" /v Language > \"" +
            scratchFile + "\"",
        SW_HIDE, true);
    std::string output = ReadFileBytes(scratchFile);
    size_t type = output.find("REG_SZ");
    if (type == std::string::npos) return {};
    size_t start = output.find_first_not_of(' ', type + 6);
    size_t end = output.find_first_of("\r\n", start);
    return output.substr(start, end - start);
}

using PageActions = PageSession;

TEST_F(PageActions, MessagesAreSplitAndAnsweredInThePage) {
    const std::string versionFile = folder.FiveMFile("FiveM.app\\citizen\\version.txt");
    ASSERT_TRUE(EnsureDirectory(folder.FiveMFile("FiveM.app\\citizen")));
    ASSERT_TRUE(WriteFileBytes(versionFile, "2372\r\n"));
    EXPECT_EQ(Act("action:loadVersion"), Scripts_{"$('#gameversion').html('2372');"});
    const struct {
        const char* message;
        bool runs;
    } messages[] = {
        {"actions:loadVersion", true},      // only six bytes are compared
        {"action:loadVersion|x|y", true},   // the argument is not read
        {"action:loadVersion:more", true},  // pieces after the second are dropped
        {"Action:loadVersion", false},     {"action:LoadVersion", false}, {"action", false}, {"action:", false},
        {"action::loadVersion", false},  // no name between the first two ":"
        {"action:|loadVersion", false},
    };
    for (const auto& row : messages) {
        Scripts_ expected;
        if (row.runs) expected.push_back("$('#gameversion').html('2372');");
        EXPECT_EQ(Act(row.message), expected) << row.message;
    }
    ASSERT_TRUE(DeleteFileA(versionFile.c_str()));
    EXPECT_EQ(Act("action:loadVersion"), Scripts_{"$('#gameversion').html('0');"});

    // Commands run from the program folder, decoded; a GBK character whose
    // trail byte is "|" stays whole.
    Act("action:runCommandHidden|cmd /c echo a%3Ab>decoded.txt");
    Act("action:runCommand|cmd /c echo shown>皘.txt");
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(folder.File("decoded.txt")) == "a:b\r\n"; }, kStepMs));
    EXPECT_TRUE(WaitForFile(folder.File(Gbk("皘.txt")), kStepMs));
}

TEST_F(PageActions, LanguageIsWrittenOnlyWhenPlainAndReportedAsRegFares) {
    const std::string scratch = folder.File("reg-query.txt");
    const std::string value = "qm_" + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(Act("action:switchLanguage|" + value), Scripts_{kLanguageDone});
    EXPECT_EQ(RegisteredLanguage(scratch), value);
    for (const char* hostile : {"en /t REG_DWORD", "x&echo>hacked.txt", "\"quoted\"", "zh%5FCN", "中文", ""}) {
        EXPECT_EQ(Act(std::string("action:switchLanguage|") + hostile), Scripts_{kLanguageRefused}) << hostile;
    }
    EXPECT_EQ(RegisteredLanguage(scratch), value);
    EXPECT_FALSE(FileExists(folder.File("hacked.txt")));

    // A "reg" of the program folder is found first; this one fails, and the
    // next one never ends: it is given up after ten seconds.
    for (const char* reg : {"7z.exe", "FiveM\\FiveM.exe"}) {
        ASSERT_TRUE(CopyFileA(folder.File(reg).c_str(), folder.File("reg.exe").c_str(), FALSE));
        EXPECT_EQ(Act("action:switchLanguage|other"), Scripts_{kLanguageNotWritten}) << reg;
        EXPECT_EQ(RegisteredLanguage(scratch), value);
    }
}

TEST_F(PageActions, RemoveBorderUnpacksAndPackageNamesMustBePlainAndNoneOfTheLaunchers) {
    const std::string tunables = folder.FiveMFile("FiveM.app\\citizen\\platform\\data\\tune\\playerinfo.ymt");
    ASSERT_TRUE(EnsureDirectory(folder.FiveMFile("FiveM.app\\citizen\\platform\\data\\tune")));
    ASSERT_TRUE(WriteFileBytes(tunables, "old"));
    EXPECT_EQ(Act("action:installPackage|removeBorder"), Scripts_{kBorderDone});
    std::string xml = ReadFileBytes(tunables);
    EXPECT_NE(xml.find("<MaxWorldLimitsPlayerX value=\"999999999\""), std::string::npos);
    EXPECT_NE(xml.find("<GuardWorldExtents value=\"false\""), std::string::npos);
    EXPECT_EQ(ReadFileBytes(folder.FiveMFile("removeBorder.zip")),
              std::string((const char*)RemoveBorderArchive(), RemoveBorderArchiveSize()));
    // Any other spelling is decoded, is no URL and does nothing.
    EXPECT_EQ(Act("action:installPackage|removeborder"), Scripts_{});

    const std::string url = "http%3A//127.0.0.1%3A36580/files/addon.rpf%3E";
    const std::string sevenZip = ReadFileBytes(folder.File("7z.exe"));
    const std::string settings = ReadFileBytes(folder.File("launcher_config.ini"));
    ASSERT_FALSE(sevenZip.empty());
    ASSERT_FALSE(settings.empty());
    for (const char* action : {"installPackage", "installBigPackage"}) {
        for (const char* name : {"..%5Cevil.rpf", "sub%2Fx.rpf", "C%3Ax.rpf", "a%09b.rpf", "..", "%3E"}) {
            std::string message = std::string("action:") + action + "|" + url + name;
            EXPECT_EQ(Act(message), Scripts_{kNameRefused}) << message;
        }
        // The launcher's own files, in any spelling.
        for (const char* name : {"7z.exe", "LAUNCHER_CONFIG.INI", "fivem", "temp-client.zip."}) {
            std::string message = std::string("action:") + action + "|" + url + name;
            EXPECT_EQ(Act(message), Scripts_{kOwnNameRefused}) << message;
        }
        // No ">": not a package request at all.
        EXPECT_EQ(Act(std::string("action:") + action + "|http%3A//127.0.0.1/addon.rpf"), Scripts_{});
    }
    EXPECT_EQ(ReadFileBytes(folder.File("7z.exe")), sevenZip);
    EXPECT_EQ(ReadFileBytes(folder.File("launcher_config.ini")), settings);
    EXPECT_EQ(service.CountRequests("/files/"), 0) << "nothing was fetched";
    // Plain names start the install; "癨" ends in the byte 0x5C. Last, since
    // the install goes on by itself.
    for (const char* name : {"addon.rpf", "癨.rpf"}) {
        Scripts_ scripts = Act(std::string("action:installPackage|") + url + name);
        ASSERT_FALSE(scripts.empty()) << name;
        EXPECT_EQ(scripts[0], kInstalling) << name;
    }
}

TEST_F(PageActions, BannerDragsMinimiseHidesTrayShowsAndCloseFadesOutAndEnds) {
    HWND window = WindowOfSize(launcher.Pid(), 1280, 720, false);
    ASSERT_TRUE(window);
    // The banner drags the window with the cursor until it is released.
    RECT start{};
    ASSERT_TRUE(GetWindowRect(window, &start));
    auto at = [&](int dx, int dy) {
        RECT now{};
        return GetWindowRect(window, &now) && now.left == start.left + dx && now.top == start.top + dy;
    };
    ASSERT_TRUE(SetCursorPos(start.left + 100, start.top + 20));
    EXPECT_EQ(Act("action:hoverBanner"), Scripts_{});
    ASSERT_TRUE(SetCursorPos(start.left + 140, start.top + 50));
    EXPECT_TRUE(WaitFor([&] { return at(40, 30); }, kStepMs));
    EXPECT_EQ(Act("action:releaseBanner"), Scripts_{});
    ASSERT_TRUE(SetCursorPos(start.left + 300, start.top + 200));

    EXPECT_EQ(Act("action:minimizeWindow"), Scripts_{});
    EXPECT_FALSE(IsWindowVisible(window));
    // The tray menu's first item, "显示主界面", as the menu reports it.
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, kTrayMenuFirstId, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, kStepMs));
    // Shown again after the cursor moved on: the drag had stopped.
    EXPECT_TRUE(at(40, 30));

    ASSERT_TRUE(WaitFor([&] { return WindowAlpha(window) == 255; }, kStepMs));
    ASSERT_TRUE(WaitFor([&] { return testsupport::PortAccepts(36510); }, kStepMs));
    std::thread page([&] { engine.SendWithoutPumping("console 1 action:closeWindow"); });
    // The window fades while the launcher keeps running for a while.
    bool faded = false;
    while (launcher.Running() && !faded) {
        const int alpha = WindowAlpha(window);
        faded = alpha >= 0 && alpha < 255;
    }
    EXPECT_TRUE(faded);
    EXPECT_EQ(launcher.WaitForExit(kStepMs), 0);
    page.join();
    EXPECT_TRUE(testsupport::WaitForPortClosed(36510, kStepMs));
}

}  // namespace
