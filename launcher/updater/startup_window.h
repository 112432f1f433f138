// StartupWindow, the updater window: the first window of the program, which
// shows the update check, the downloads and their progress.
#pragma once

#include "launcher/ui/buttons.h"
#include "launcher/ui/common_dialog.h"
#include "launcher/ui/labels.h"
#include "launcher/ui/shape_box.h"
#include "launcher/ui/timer.h"
#include "launcher/ui/window.h"

// Character height of the speed line (下载速度), in its own font and in the digital one.
constexpr int kSpeedLineFontHeight = 40;

class StartupWindowForm : public Window {
public:
    StartupWindowForm();

    // The units, by their names; set once the window is loaded.
    TransLabel* 状态显示 = nullptr;  // first status line
    TransLabel* 下载速度 = nullptr;  // second status line (speed)
    ShapeBox* 进度条背景 = nullptr;  // progress track
    ShapeBox* 进度条 = nullptr;      // progress fill, inside the track
    TransLabel* 版本信息 = nullptr;  // version label
    SuperBtn* 超级按钮1 = nullptr;   // pause / resume
    SuperBtn* 超级按钮2 = nullptr;   // quit
    PicBtn* 图形按钮1 = nullptr;     // close
    PicBtn* 图形按钮2 = nullptr;
    CommonDlg* 通用对话框1 = nullptr;  // FiveM folder selection
    Label* 标签1 = nullptr;            // its feedback event opens the package-choice dialog
    Timer* 时钟1 = nullptr;            // marquee
    Timer* 时钟2 = nullptr;            // download progress
    Timer* 时钟3 = nullptr;            // start-up done watch
    Timer* 时钟4 = nullptr;            // low-speed watchdog
    Timer* 时钟5 = nullptr;            // progress colour from the audio peak
    Timer* 时钟6 = nullptr;            // fade-in

protected:
    void BindUnits() override;
};

extern StartupWindowForm StartupWindow;

// Loads and shows StartupWindow; its created handler runs during the load.
bool LoadStartupWindow();

// The window's WindowCreated handler.
void OnStartupWindowCreated();

// Handlers of the window's units.
void FadeInTimerTick();
void StartupDoneTimerTick();
void OnStartupQuitClicked();
void OnStartupCloseClicked();
void OnStartupWindowDestroying();
