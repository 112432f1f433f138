// The updater window loaded in this process against a temporary program
// folder; the three start-up workers are recorded, not run.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/startup_window.h"
#include "launcher/updater/startup_workers.h"
#include "support/fake_core_audio.h"
#include "support/test_support.h"
#include "utilities/audio_device_enumerator.h"

namespace {

using testsupport::TempFolder;

struct StartedWorker {
    WorkerRoutine routine;
    bool cacheExisted;
};
std::vector<StartedWorker> started;

// Records the start instead of running the worker, with the state the worker
// would have found at that moment.
bool RecordStart(WorkerRoutine routine) {
    DWORD attributes = GetFileAttributesA((FiveMFolder + "\\launcher_cache").c_str());
    started.push_back({routine, attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)});
    return true;
}

class StartupWindowLoad : public testing::Test {
protected:
    void SetUp() override {
        started.clear();
        StartStartupWorker = RecordStart;
        OverrideProgramFolder(folder.Path());
        StartupWindowAlpha = 0;
        CreateGlobals();
    }
    void TearDown() override {
        StartupWindow.Destroy();
        testsupport::DiscardPendingMessages();
    }
    TempFolder folder;
};

BYTE AlphaOf(HWND hwnd) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags);
    return alpha;
}

TEST_F(StartupWindowLoad, CacheFolderExistsBeforeTheWorkersStartAndTheVersionIsShown) {
    DownloadPaused = StartupDone = FullPackageDownload = SelfUpdateDownload = true;
    ASSERT_TRUE(LoadStartupWindow());
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].routine, UpdateFlow);
    EXPECT_EQ(started[1].routine, RefreshHeaderImage);
    EXPECT_EQ(started[2].routine, InstallDigitalFont);
    for (const StartedWorker& worker : started) EXPECT_TRUE(worker.cacheExisted);

    EXPECT_EQ(StartupWindow.版本信息->Caption(), "Quillmere FiveM (1014)");
    EXPECT_FALSE(DownloadPaused);
    EXPECT_FALSE(StartupDone);
    EXPECT_FALSE(FullPackageDownload);
    EXPECT_FALSE(SelfUpdateDownload);
    EXPECT_TRUE(testsupport::ReadFileBytes(folder.File("launcher_config.ini")).find("threads=16") != std::string::npos);
    EXPECT_EQ(StartupWindow.时钟5->Interval(), 0);
}

TEST_F(StartupWindowLoad, WindowFadesInFromTransparentAndStopsItsFadeTimer) {
    ASSERT_TRUE(LoadStartupWindow());
    HWND hwnd = StartupWindow.Handle();
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 960);
    EXPECT_EQ(r.bottom - r.top, 540);
    // The black 10-pixel drop shadow around it.
    HWND shadow = reinterpret_cast<HWND>(GetPropA(hwnd, "Lumen.WndShadow"));
    ASSERT_TRUE(IsWindow(shadow));
    GetWindowRect(shadow, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 980);
    EXPECT_EQ(r.bottom - r.top, 560);

    EXPECT_TRUE(testsupport::ServiceUntil([] { return StartupWindow.时钟6->Interval() == 0; }, 5000));
    EXPECT_EQ(AlphaOf(hwnd), 255);

    // Tick by tick: ten more each time, shown while it is no more than 255;
    // the first tick past it shows 255 and stops the timer.
    const int kStep = 10;
    for (int from : {0, 200, 240, 245, 250}) {
        SCOPED_TRACE(from);
        StartupWindowAlpha = from;
        StartupWindow.时钟6->SetInterval(60000);  // running, but not ticking by itself here
        SetLayeredWindowAttributes(hwnd, 0, 1, LWA_ALPHA);
        FadeInTimerTick();
        const int next = from + kStep;
        EXPECT_EQ(StartupWindowAlpha, next);
        EXPECT_EQ(AlphaOf(hwnd), next <= 255 ? next : 255);
        EXPECT_EQ(StartupWindow.时钟6->Interval(), next <= 255 ? 60000 : 0);
    }
}

TEST_F(StartupWindowLoad, ColourOptionAsksForTheDefaultOutputAndStartsThePeakColourTimer) {
    testsupport::WriteFileBytes(folder.File("launcher_config.ini"),
                                "[download]\r\nthreads=16\r\nlowspeed=0\r\ncolor_processbar=true\r\nserver=1\r\n");
    testsupport::FakeDevice speakers({0, {0}, 0});
    testsupport::FakeCollection noList({}, -1);
    testsupport::FakeEnumerator platform(noList);
    const struct {
        const char* name;
        testsupport::FakeDevice* output;
    } cases[] = {{"an output", &speakers}, {"no output: the bar shows the colour of silence", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform.defaultDevice = c.output;
        AudioDeviceEnumerator enumerator(&platform);
        AudioEnumerator = &enumerator;
        DefaultAudioDevice = nullptr;
        ASSERT_TRUE(LoadStartupWindow());
        EXPECT_TRUE(ColorProgressBar);
        EXPECT_EQ(StartupWindow.时钟5->Interval(), 10);
        EXPECT_EQ(platform.askedDefault, std::make_pair(0, 0)) << "render, console";
        EXPECT_EQ(DefaultAudioDevice, c.output);
        StartupWindow.Destroy();
        if (DefaultAudioDevice) DefaultAudioDevice->Release();
        DefaultAudioDevice = nullptr;
        AudioEnumerator = nullptr;
        platform.askedDefault = {-1, -1};
    }
}

}  // namespace
