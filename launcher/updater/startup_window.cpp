#include "launcher/updater/startup_window.h"

#include "launcher/updater/client_type_dialog.h"
#include "launcher/updater/close_glyph.h"
#include "launcher/app/launcher_texts.h"
#include "launcher/updater/startup_progress.h"
#include "download/low_speed_watchdog.h"

namespace {

WindowLayout StartupWindowLayout() {
    WindowLayout layout;
    layout.window = {
        "Quillmere.StartupWindow", "Quillmere FiveM", 50,     50, 960, 540, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
        WS_EX_APPWINDOW,           RGB(22, 24, 29),   kYaHei, 14, true};
    // kind, name, container, left, top, width, height, caption, font, font height, visible, enabled
    layout.units = {
        {UnitKind::TransLabel, "状态显示", nullptr, 525, 472, 416, 32, kLoadingLine, nullptr, 16, true, true},
        {UnitKind::TransLabel, "下载速度", nullptr, 616, 408, 328, 64, "0.0MB/s", kYaHeiLight, kSpeedLineFontHeight,
         false, true},
        {UnitKind::ShapeBox, "进度条背景", nullptr, 0, 536, 960, 5, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "进度条", "进度条背景", 0, 0, 8, 16, nullptr, nullptr, 0, true, true},
        // "版本"
        {UnitKind::TransLabel, "版本信息", nullptr, 13, 8, 160, 22, "\xB0\xE6\xB1\xBE", nullptr, 13, true, true},
        // "暂停下载"
        {UnitKind::SuperBtn, "超级按钮1", nullptr, 768, 504, 96, 32, "\xD4\xDD\xCD\xA3\xCF\xC2\xD4\xD8", nullptr, 14,
         false, false},
        // "退出软件"
        {UnitKind::SuperBtn, "超级按钮2", nullptr, 864, 504, 96, 32, "\xCD\xCB\xB3\xF6\xC8\xED\xBC\xFE", nullptr, 14,
         true, true},
        {UnitKind::PicBtn, "图形按钮1", nullptr, 925, 16, 20, 20, nullptr, nullptr, 0, true, true},
        {UnitKind::PicBtn, "图形按钮2", nullptr, 800, 504, 160, 41, nullptr, nullptr, 0, true, true},
        {UnitKind::Label, "标签1", nullptr, 720, 24, 56, 24, nullptr, nullptr, 0, true, true},
    };
    layout.timers = {
        {"时钟1", 0}, {"时钟2", 0}, {"时钟3", 1}, {"时钟4", 1000}, {"时钟5", 0}, {"时钟6", 1},
    };
    // "选择 FiveM 目录"
    layout.dialogs = {{"通用对话框1", "\xD1\xA1\xD4\xF1 FiveM \xC4\xBF\xC2\xBC", "FiveM.exe|FiveM.exe", "FiveM.exe"}};
    return layout;
}

}  // namespace

StartupWindowForm StartupWindow;

StartupWindowForm::StartupWindowForm() : Window(StartupWindowLayout()) {
    WindowCreated = OnStartupWindowCreated;
    WindowDestroying = OnStartupWindowDestroying;
}

void StartupWindowForm::BindUnits() {
    状态显示 = Get<TransLabel>("状态显示");
    下载速度 = Get<TransLabel>("下载速度");
    进度条背景 = Get<ShapeBox>("进度条背景");
    进度条 = Get<ShapeBox>("进度条");
    版本信息 = Get<TransLabel>("版本信息");
    超级按钮1 = Get<SuperBtn>("超级按钮1");
    超级按钮2 = Get<SuperBtn>("超级按钮2");
    图形按钮1 = Get<PicBtn>("图形按钮1");
    图形按钮2 = Get<PicBtn>("图形按钮2");
    通用对话框1 = FindDialog("通用对话框1");
    标签1 = Get<Label>("标签1");
    时钟1 = FindTimer("时钟1");
    时钟2 = FindTimer("时钟2");
    时钟3 = FindTimer("时钟3");
    时钟4 = FindTimer("时钟4");
    时钟5 = FindTimer("时钟5");
    时钟6 = FindTimer("时钟6");

    进度条背景->SetFillColour(RGB(44, 47, 54));
    进度条背景->SetLineColour(RGB(44, 47, 54));
    进度条->SetFillColour(RGB(166, 226, 43));
    进度条->SetLineColour(RGB(166, 226, 43));
    图形按钮1->SetImages(MakeCloseGlyph(RGB(220, 220, 220)), MakeCloseGlyph(RGB(255, 96, 96)),
                         MakeCloseGlyph(RGB(160, 64, 64)));

    超级按钮1->Clicked = OnPauseResumeClicked;
    超级按钮2->Clicked = OnStartupQuitClicked;
    图形按钮1->Clicked = OnStartupCloseClicked;
    时钟1->Tick = MarqueeTimerTick;
    时钟2->Tick = ProgressTimerTick;
    时钟3->Tick = StartupDoneTimerTick;
    时钟5->Tick = PeakColourTimerTick;
    时钟6->Tick = FadeInTimerTick;
    时钟4->Tick = LowSpeedWatchdogTick;
    标签1->FeedbackEvent = OnOpenClientTypeDialog;
}

bool LoadStartupWindow() { return StartupWindow.Load(true); }
