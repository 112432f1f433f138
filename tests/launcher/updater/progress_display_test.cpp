// The updater window's progress display in this process: byte sizes, the
// bar and the marquee as real child windows, the status lines, and the
// hand-over to the main window once the start-up is done.
#include <cmath>
#include <string>
#include <vector>

#include "driver/driver_client.h"
#include "launcher/main_window/main_window.h"
#include "launcher/updater/progress_display.h"
#include "launcher/updater/startup_progress.h"
#include "support/fake_core_audio.h"
#include "updater_window_fixture.h"

namespace {

using e2e::kUpdaterTitle;
using testsupport::ServiceUntil;
using testsupport::WhileServicing;

// "正在加载中..."
const char kLoadingLine[] = "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xD6\xD0...";
// "游戏文件缺失"
const char kClientMissingLine[] = "\xD3\xCE\xCF\xB7\xCE\xC4\xBC\xFE\xC8\xB1\xCA\xA7";

TEST(FormatByteSize, PicksTheUnitAtItsLimitsAndWritesTwoDecimals) {
    const double K = 1024, M = 1048576, G = 1073741824;
    const struct {
        double bytes;
        const char* text;
    } table[] = {
        {0, "0.00B"},
        {512, "512.00B"},
        {1023, "1023.00B"},
        {1023.999, "1024.00B"},  // rounded, still below the limit
        {K, "1.00KB"},           // exactly at a limit: the larger unit
        {1536, "1.50KB"},
        {1152, "1.13KB"},             // an exact half goes up: 1.125
        {1147, "1.12KB"},             // just below the half: 1.1201...
        {0.125, "0.13B"},             // a half in bytes (speeds are doubles)
        {M + 5 * K + 128, "1.01MB"},  // 1.0051...: above the half
        {M - 1, "1024.00KB"},
        {M, "1.00MB"},
        {2.25 * M, "2.25MB"},
        {G - 1, "1024.00MB"},
        {G, "1.00GB"},
        {5 * G, "5.00GB"},
        {4.5e12, "4190.95GB"},  // no larger unit, no thousands separator
    };
    for (const auto& row : table) EXPECT_EQ(FormatByteSize(row.bytes), row.text) << row.bytes;
}

TEST(PeakColour, RunsFromGreenAtSilenceToRedAtFullScale) {
    EXPECT_EQ(PeakColour(0), RGB(166, 226, 43));
    EXPECT_EQ(PeakColour(1), RGB(255, 0, 43));
    EXPECT_EQ(PeakColour(0.5), RGB(210, 113, 43));
    // Out of range values stay within the two ends.
    EXPECT_EQ(PeakColour(-0.2), RGB(166, 226, 43));
    EXPECT_EQ(PeakColour(3), RGB(255, 0, 43));
}

class ProgressDisplay : public UpdaterWindowTest {};

TEST_F(ProgressDisplay, PercentSetsTheFillWidthAcrossTheTrack) {
    const struct {
        double percent;
        int width;
    } table[] = {{0, 0}, {50, 480}, {100, 960}, {33.3, 319}, {0.05, 0}, {99.99, 959}};
    for (const auto& row : table) {
        ShowProgress(row.percent, "", "");
        driver::ChildWindow fill = Fill();
        EXPECT_EQ(fill.left, 0) << row.percent;
        EXPECT_EQ(fill.width, row.width) << row.percent;
        EXPECT_EQ(StartupWindow.时钟1->Interval(), 0) << row.percent;
    }
}

TEST_F(ProgressDisplay, MinusOneAndNotANumberRunTheMarqueeAcrossTheTrack) {
    for (double percent : {-1.0, -1.00000001, std::nan(""), (double)INFINITY}) {
        ShowProgress(50, "", "");
        ShowProgress(percent, "", "");
        EXPECT_EQ(StartupWindow.时钟1->Interval(), 1) << percent;
    }
    // The real timer moves a 150-pixel fill to the right.
    int before = StartupWindow.进度条->Left();
    ASSERT_TRUE(ServiceUntil([&] { return StartupWindow.进度条->Left() > before; }, 5000));
    driver::ChildWindow fill = Fill();
    EXPECT_EQ(fill.width, 150);
    EXPECT_GT(fill.left, before);
    EXPECT_EQ((fill.left - before) % 5, 0);

    // A percent stops it where it is and sets the fill; no tick comes after.
    ShowProgress(25, "", "");
    ASSERT_TRUE(testsupport::ServicePostedMessages());
    fill = Fill();
    EXPECT_EQ(fill.left, 0);
    EXPECT_EQ(fill.width, 240);
}

TEST_F(ProgressDisplay, MarqueePassingTheRightEdgeJumpsToTheLeftOfTheTrack) {
    StartupWindow.进度条->Move(950, 0, 8, 16);
    const int lefts[] = {955, 960, -152, -147};
    for (int expected : lefts) {
        MarqueeTimerTick();
        EXPECT_EQ(StartupWindow.进度条->Left(), expected);
        EXPECT_EQ(StartupWindow.进度条->Width(), 150);
    }
}

TEST_F(ProgressDisplay, EmptyFirstLineKeepsTheStatusAndEmptySecondLineHidesTheSpeed) {
    ShowProgress(-1, kClientMissingLine, "1.50KB/s");
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kClientMissingLine);
    EXPECT_TRUE(StartupWindow.下载速度->Visible());
    EXPECT_EQ(StartupWindow.下载速度->Caption(), "1.50KB/s");

    ShowProgress(10, "", "");
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kClientMissingLine);
    EXPECT_FALSE(StartupWindow.下载速度->Visible());

    ShowProgress(10, kLoadingLine, "");
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kLoadingLine);
}

TEST_F(ProgressDisplay, ShowProgressFromAWorkerThreadReachesTheWindow) {
    WhileServicing([] { ShowProgress(75, kLoadingLine, "2.00MB/s"); });
    EXPECT_EQ(StartupWindow.进度条->Width(), 720);
    EXPECT_EQ(StartupWindow.状态显示->Caption(), kLoadingLine);
    EXPECT_TRUE(StartupWindow.下载速度->Visible());
}

TEST_F(ProgressDisplay, PeakColourTickColoursTheBarByTheDefaultOutputsPeak) {
    testsupport::FakeDevice loud({1.0f, {1.0f}, 0}), half({0.5f, {0.5f}, 0}), refusing({1.0f, {1.0f}, 0}, true);
    const struct {
        IMMDevice* device;
        COLORREF colour;
    } table[] = {
        {&loud, RGB(255, 0, 43)},
        {&half, RGB(210, 113, 43)},
        {&refusing, RGB(166, 226, 43)},  // a failed read is silence
        {nullptr, RGB(166, 226, 43)},    // no audio output
    };
    for (const auto& row : table) {
        StartupWindow.进度条->SetFillColour(RGB(1, 2, 3));
        DefaultAudioDevice = row.device;
        PeakColourTimerTick();
        EXPECT_EQ(StartupWindow.进度条->FillColour(), row.colour);
    }
    DefaultAudioDevice = nullptr;
    EXPECT_TRUE(loud.MetersReleased());
    EXPECT_TRUE(half.MetersReleased());
}

// What the track shows at a point, read from the window's own pixels.
COLORREF TrackPixel(int x) {
    HDC dc = GetDCEx(StartupWindow.进度条背景->Handle(), nullptr, DCX_CACHE);
    COLORREF colour = GetPixel(dc, x, 2);
    ReleaseDC(StartupWindow.进度条背景->Handle(), dc);
    return colour;
}

TEST_F(ProgressDisplay, MarqueeDrawsTheFillWhereItSlidesAndTheTrackWhereItWas) {
    StartupWindow.SetAlpha(255);
    ShowProgress(50, "", "");  // a fill from 0 to 480
    ASSERT_TRUE(testsupport::ServiceUntil([] { return TrackPixel(100) == RGB(166, 226, 43); }, 5000));
    ASSERT_EQ(TrackPixel(700), RGB(44, 47, 54));
    StartupWindow.进度条->SlideWithin(*StartupWindow.进度条背景, 300, 150);
    EXPECT_EQ(TrackPixel(100), RGB(44, 47, 54)) << "where the fill was";
    EXPECT_EQ(TrackPixel(320), RGB(166, 226, 43));
    EXPECT_EQ(TrackPixel(449), RGB(166, 226, 43));
    EXPECT_EQ(TrackPixel(450), RGB(44, 47, 54));
    MarqueeTimerTick();
    EXPECT_EQ(StartupWindow.进度条->Left(), 305);
    EXPECT_EQ(TrackPixel(302), RGB(44, 47, 54));
    EXPECT_EQ(TrackPixel(452), RGB(166, 226, 43));
    EXPECT_EQ(TrackPixel(455), RGB(44, 47, 54));
}

TEST_F(ProgressDisplay, StartupDoneOpensTheMainWindowAndTheUpdaterGoes) {
    StartupDoneTimerTick();
    EXPECT_EQ(MainWindow.Handle(), nullptr) << "opened before the start-up was done";
    // The main window's page view needs the engine where the launcher put it.
    ASSERT_TRUE(
        CopyFileA((testsupport::BinDir() + "\\node.dll").c_str(), (folder.Path() + "\\node.dll").c_str(), FALSE));
    // Set by a flow's thread, as the flows do; the watch wakes for it.
    WhileServicing([] { StartupDone = true; });
    ASSERT_TRUE(ServiceUntil([] { return MainWindow.Handle() != nullptr && StartupWindow.Handle() == nullptr; }, 5000));
    StartupDone = false;
    RECT r{};
    GetWindowRect(MainWindow.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 1280);
    EXPECT_EQ(r.bottom - r.top, 720);
    char title[64] = {};
    GetWindowTextA(MainWindow.Handle(), title, sizeof title);
    EXPECT_STREQ(title, kUpdaterTitle);
    EXPECT_TRUE(MainWindow.Visible());
    MainWindow.Destroy();
}

}  // namespace
