// Add-on packages through the real launcher: the stand-in engine's channel
// plays the page's install buttons, the local service serves the packages,
// the real daemon downloads the large ones and the 7-Zip stand-in unpacks.
// The FiveM folder lies outside the program folder, so every package is
// copied into it. Each install ends in one closing script of the page's
// loading dialog, which the engine's log shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/e2e_support.h"
#include "utilities/path_helpers.h"
#include "webview_test_support.h"

namespace {

using namespace e2e;
using driver::LauncherProcess;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using webviewtest::EngineChannel;

const char kClosing[] = "Swal.update({title:'安装";
const char kSucceeded[] =
    "Swal.update({title:'安装成功', text:'已成功安装此附加包', icon:'success'});Swal.hideLoading();";
const char kFailed[] = "Swal.update({title:'安装失败'";
const char kProgress[] = "Swal.update({title:'正在安装中', text:'正在下载附加包 ";
const char kUnpacking[] = "Swal.update({title:'正在安装中', text:'正在解压中...'});";
const char kRpf[] = "FiveM.app\\mods\\quillmere-addon.rpf";
const char kLargeRpf[] = "FiveM.app\\mods\\quillmere-large.rpf";

class AddonPackages : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Running());
        ASSERT_TRUE(EnsureDirectory(game));
        ASSERT_TRUE(CopyFileA((testsupport::BinDir() + "\\FiveM.exe").c_str(), (game + "\\FiveM.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteFileBytes(game + "\\launcher_version.txt", "100"));
        ASSERT_TRUE(WriteFileBytes(folder.File("launcher_config.ini"), "[fivem]\r\npath=" + game + "\r\n"));
        engine.ClearLog();
        ASSERT_TRUE(launcher.Start(folder.Path()));
        ASSERT_TRUE(FlowFinishes(launcher.Pid(), kStepMs));
        ASSERT_TRUE(WaitFor([&] { return !engine.LogLinesStarting("wkeLoadURL ").empty(); }, kStepMs));
    }

    std::vector<std::string> Scripts() { return engine.Scripts(); }

    // Presses an install button of the page for the service's path, saved
    // as name; returns the scripts up to and including the closing one.
    std::vector<std::string> Install(const char* action, const std::string& path, const std::string& name) {
        const size_t before = Scripts().size();
        const std::string argument = "http%3A//127.0.0.1%3A36580" + path + "%3E" + name;
        EXPECT_EQ(engine.SendFirstLine(std::string("console 1 action:") + action + "|" + argument), "OK");
        std::vector<std::string> since;
        WaitFor(
            [&] {
                std::vector<std::string> all = Scripts();
                since.assign(all.begin() + (std::min)(before, all.size()), all.end());
                return std::any_of(since.begin(), since.end(),
                                   [](const std::string& s) { return s.rfind(kClosing, 0) == 0; });
            },
            kStepMs);
        return since;
    }

    static int Count(const std::vector<std::string>& scripts, const char* prefix) {
        return (int)std::count_if(scripts.begin(), scripts.end(),
                                  [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
    }

    EngineChannel& engine = EngineChannel::Get();  // before the launcher: it names the channel's port
    ProgramFolder folder;
    std::string game = folder.File("Game Files");
    Service service;
    LauncherProcess launcher;
};

TEST_F(AddonPackages, SmallPackageInstallsAndBrokenOnesFail) {
    std::vector<std::string> scripts = Install("installPackage", "/files/addon.zip", "addon.zip");
    ASSERT_FALSE(scripts.empty());
    EXPECT_EQ(scripts.back(), kSucceeded);
    const std::string unpacked = ReadFileBytes(folder.File("FiveM\\") + kRpf);
    EXPECT_FALSE(unpacked.empty());
    EXPECT_EQ(ReadFileBytes(game + "\\" + kRpf), unpacked) << "copied into the FiveM folder";
    EXPECT_TRUE(FileExists(game + "\\FiveM.app\\plugins\\quillmere-addon.txt"));
    EXPECT_FALSE(FileExists(folder.File("addon.zip")));

    ASSERT_TRUE(service.SetAnswer("/files/damaged.zip", "PK\x03\x04 no archive at all"));
    for (const char* path : {"/files/no-such-addon.zip", "/files/damaged.zip"}) {
        scripts = Install("installPackage", path, "broken.zip");
        ASSERT_FALSE(scripts.empty()) << path;
        EXPECT_EQ(scripts.back().rfind(kFailed, 0), 0u) << path << ": " << scripts.back();
        EXPECT_EQ(Count(scripts, kClosing), 1) << path;
        EXPECT_FALSE(FileExists(folder.File("broken.zip"))) << path;
    }
}

TEST_F(AddonPackages, LargePackageShowsProgressThenCallsThePageAndAFailedOneEndsTheDialog) {
    // The service holds the archive back until the page has shown progress.
    ASSERT_TRUE(service.Hold("/files/addon-large.zip"));
    const size_t before = Scripts().size();
    ASSERT_EQ(engine.SendFirstLine("console 1 action:installBigPackage|http%3A//127.0.0.1%3A36580/files/"
                                   "addon-large.zip%3Eaddon-large.zip"),
              "OK");
    ASSERT_TRUE(WaitFor([&] { return Count(Scripts(), kProgress) >= 2; }, kStepMs));
    ASSERT_TRUE(service.Release("/files/addon-large.zip"));
    const char kCallback[] = "installPackageCallback('addon-large.zip', 'done');";
    ASSERT_TRUE(WaitFor(
        [&] {
            std::vector<std::string> all = Scripts();
            return std::any_of(all.begin(), all.end(),
                               [&](const std::string& s) { return s.find(kCallback) != s.npos; });
        },
        kStepMs));
    std::vector<std::string> all = Scripts();
    std::vector<std::string> scripts(all.begin() + before, all.end());
    EXPECT_EQ(scripts.back(), std::string(kSucceeded) + kCallback);
    auto unpacking = std::find(scripts.begin(), scripts.end(), kUnpacking);
    ASSERT_NE(unpacking, scripts.end());
    EXPECT_EQ(Count(std::vector<std::string>(unpacking, scripts.end()), kProgress), 0) << "progress after unpacking";
    // The loading dialog opens first; then only progress lines until unpacking.
    ASSERT_EQ(Count(scripts, "Swal.fire({title:'正在安装中'"), 1);
    EXPECT_EQ(scripts[0].rfind("Swal.fire({title:'正在安装中'", 0), 0u) << scripts[0];
    for (const std::string& line : std::vector<std::string>(scripts.begin() + 1, unpacking))
        EXPECT_TRUE(line.rfind(kProgress, 0) == 0 && line.find("/s)'});") != line.npos) << line;
    const std::string unpacked = ReadFileBytes(folder.File("FiveM\\") + kLargeRpf);
    EXPECT_GT(unpacked.size(), 4u << 20);
    EXPECT_EQ(ReadFileBytes(game + "\\" + kLargeRpf), unpacked);
    EXPECT_FALSE(FileExists(folder.File("addon-large.zip")));

    // The daemon gives up on a missing archive: the dialog ends with the failure.
    scripts = Install("installBigPackage", "/files/no-such-addon.zip", "missing.zip");
    ASSERT_FALSE(scripts.empty());
    EXPECT_EQ(scripts.back().rfind(kFailed, 0), 0u) << scripts.back();
    EXPECT_EQ(Count(scripts, kClosing), 1);
    EXPECT_FALSE(FileExists(folder.File("missing.zip")));
}

}  // namespace
