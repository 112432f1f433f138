#include "launcher/main_window/main_window.h"

#include "launcher/app/application_icon.h"
#include "launcher/app/globals.h"
#include "launcher/app/launcher_texts.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/worker_thread.h"
#include "launcher/main_window/page_resource_cache.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/game_process.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_bridge.h"
#include "launcher/service/service_hosts.h"
#include "launcher/updater/startup_window.h"
#include "utilities/busy_delay.h"
#include "utilities/window_shadow.h"
#include "webview/commands.h"
#include "webview/unit_properties.h"
#include "webview/webview_unit.h"

namespace {

// "菜单", "显示主界面", "退出"
const char kMenuCaption[] = "\xB2\xCB\xB5\xA5";
const char kMenuShow[] = "\xCF\xD4\xCA\xBE\xD6\xF7\xBD\xE7\xC3\xE6";
const char kMenuExit[] = "\xCD\xCB\xB3\xF6";
const char kTrayTip[] = "Quillmere FiveM";

// "Swal.fire({title: '确定要退出吗？',text: "FiveM 仍在运行，退出可能会导致错误",icon: 'warning',
// showCancelButton: true,confirmButtonColor: '#3085d6',cancelButtonColor: '#d33',confirmButtonText: '确定',
// cancelButtonText: '取消'}).then((result) => {if (result.value) {console.log('action:closeWindow');}});"
const char kExitWhileGameRunsScript[] =
    "Swal.fire({title: '\xC8\xB7\xB6\xA8\xD2\xAA\xCD\xCB\xB3\xF6\xC2\xF0\xA3\xBF',text: \"FiveM "
    "\xC8\xD4\xD4\xDA\xD4\xCB\xD0\xD0\xA3\xAC\xCD\xCB\xB3\xF6\xBF\xC9\xC4\xDC\xBB\xE1\xB5\xBC\xD6\xC2\xB4\xED\xCE\xF3\""
    ","
    "icon: 'warning',showCancelButton: true,confirmButtonColor: '#3085d6',cancelButtonColor: '#d33',"
    "confirmButtonText: '\xC8\xB7\xB6\xA8',cancelButtonText: '\xC8\xA1\xCF\xFB'}).then((result) => {if "
    "(result.value) {console.log('action:closeWindow');}});";

WindowLayout MainWindowLayout() {
    WindowLayout layout;
    layout.window = {
        "Quillmere.MainWindow", "Quillmere FiveM", 50,     50, 1280, 720, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
        WS_EX_APPWINDOW,        RGB(22, 24, 29),   kYaHei, 14, false};
    // kind, name, container, left, top, width, height, caption, font, font height, visible, enabled
    // The labels only carry work to the UI thread: hidden, they still do.
    layout.units = {
        {UnitKind::ShapeBox, "遮罩层", nullptr, -8, -40, 1296, 760, nullptr, nullptr, 0, true, true},
        {UnitKind::Label, "标签1", nullptr, 776, 24, 64, 24, nullptr, nullptr, 0, false, true},
        {UnitKind::Label, "标签2", nullptr, 776, 48, 64, 24, nullptr, nullptr, 0, false, true},
    };
    layout.timers = {{"时钟1", 0}, {"时钟2", 0}, {"时钟4", 0}, {"时钟5", 1}};
    return layout;
}

bool HandleMainWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
    if (MainWindow.托盘.HandleMessage(msg, wParam, lParam)) return true;
    // Closed through the system: the program's only window goes, and the
    // daemon with it, as every way out of the program does.
    if (msg != WM_CLOSE) return false;
    MainWindow.托盘.Remove();
    QuitProgram();
}

std::optional<int> OnConsoleMessageEvent(UnitEvent& event) {
    OnPageConsoleMessage(event.Text(2));
    return std::nullopt;
}

std::optional<int> OnLoadUrlBeginEvent(UnitEvent& event) {
    ServeCachedResource(event.Text(0), (int)event.Int(1));
    return std::nullopt;
}

std::optional<int> OnLoadUrlEndEvent(UnitEvent& event) {
    StoreCachedResource(event.Text(0), (int)event.Int(1), (int)event.Int(2), (int)event.Int(3));
    return std::nullopt;
}

// The icon the program carries, at the notification area's size; a program
// that carries none (a test program) shows the system's generic one.
HICON TrayIconImage() {
    static const HICON icon = [] {
        HICON carried = (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(QM_APPLICATION_ICON), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
        return carried ? carried : LoadIcon(nullptr, IDI_APPLICATION);
    }();
    return icon;
}

}  // namespace

MainWindowForm MainWindow;

MainWindowForm::MainWindowForm() : Window(MainWindowLayout()), 托盘(kMenuCaption, {kMenuShow, kMenuExit}) {
    WindowCreated = OnMainWindowCreated;
    MessageHook = HandleMainWindowMessage;
}

void MainWindowForm::BindUnits() {
    遮罩层 = Get<ShapeBox>("遮罩层");
    标签1 = Get<Label>("标签1");
    标签2 = Get<Label>("标签2");
    时钟1 = FindTimer("时钟1");
    时钟2 = FindTimer("时钟2");
    时钟4 = FindTimer("时钟4");
    时钟5 = FindTimer("时钟5");

    webview = WebViewUnit::Create(this, "webview", kMainWindowFormId, kPageViewUnitId, 0, 0, 1280, 720);
    if (webview) {
        webview->On(kEventConsoleMessage, OnConsoleMessageEvent);
        webview->On(kEventLoadUrlBegin, OnLoadUrlBeginEvent);
        webview->On(kEventLoadUrlEnd, OnLoadUrlEndEvent);
    }
    // The overlay lies over the page until the page has asked for the Steam
    // account; the view was made after it.
    遮罩层->SetFillColour(RGB(22, 24, 29));
    遮罩层->SetLineColour(RGB(22, 24, 29));
    SetWindowPos(遮罩层->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    标签1->FeedbackEvent = ExecuteScriptOnUiThread;
    标签2->FeedbackEvent = InitWebViewAndLoadPage;
    时钟1->Tick = DragTimerTick;
    时钟2->Tick = WatchGameExit;
    时钟4->Tick = AddonProgressTimerTick;
    时钟5->Tick = MainFadeTimerTick;
    托盘.Clicked = OnTrayIconEvent;
    托盘.ItemSelected = [](int item) { item == 0 ? OnTrayMenuShow() : OnTrayMenuExit(); };
}

bool LoadMainWindow() { return MainWindow.Load(true); }

void OnMainWindowCreated() {
    StartupWindow.Destroy();
    MainWindow.SetAlpha(0);
    MainWindowFadeIn = 1;
    GameLaunched = false;
    SetWindowShadow(MainWindow.Handle(), 0, 10);
    StartWorkerThread(DelayedPageLoad);
}

void DelayedPageLoad() {
    BusyDelay(1000);
    RaiseFeedbackEvent(MainWindow.标签2, 0, 0, true);
}

std::string LauncherPageUrl() { return ContentUrl("/fivem/launcher/?version=" + std::to_string(kLauncherBuild)); }

int InitWebViewAndLoadPage(int, int) {
    if (MainWindow.webview) {
        PropertyValue folder;
        folder.text = FiveMFolder + "\\launcher_cache\\";
        // The cookie folder first, then the cache folder: the same folder,
        // which also holds the page's resource cache.
        WriteWebViewProperty(MainWindow.webview->Handle(), kPropertyCookieFolder, folder);
        WriteWebViewProperty(MainWindow.webview->Handle(), kPropertyCacheFolder, folder);
        LoadUrl(kMainWindowFormId, kPageViewUnitId, LauncherPageUrl());
    }
    BusyDelay(500);
    return 0;
}

void DragTimerTick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT place{};
    GetWindowRect(MainWindow.Handle(), &place);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(MainWindow.Handle(), nullptr, cursor.x - DragOffsetX, place.top, 0, 0, flags);
    SetWindowPos(MainWindow.Handle(), nullptr, cursor.x - DragOffsetX, cursor.y - DragOffsetY, 0, 0, flags);
}

void MainFadeTimerTick() {
    if (MainWindowFadeIn == 1) {
        MainWindowAlpha += 10;
        if (MainWindowAlpha <= 255) {
            MainWindow.SetAlpha(MainWindowAlpha);
            return;
        }
        MainWindow.SetAlpha(255);
    } else {
        MainWindowAlpha -= 10;
        if (MainWindowAlpha > 0) {
            MainWindow.SetAlpha(MainWindowAlpha);
            return;
        }
        MainWindow.SetAlpha(0);
    }
    MainWindow.时钟5->SetInterval(0);
}

void OnTrayIconEvent(int) { MainWindow.托盘.PopUpMenu(); }

void OnTrayMenuShow() { SetMainWindowVisible(true); }

void OnTrayMenuExit() {
    if (FindProcessByName("FiveM.exe")) {
        SetMainWindowVisible(true);
        RunPageScript(kExitWhileGameRunsScript);
        return;
    }
    MainWindow.托盘.Remove();
    QuitProgram();
}

void SetMainWindowVisible(bool visible) {
    if (visible) {
        ShowWindow(MainWindow.Handle(), SW_SHOWNA);
        return;
    }
    // A hidden window with no tray icon could never be brought back.
    ShowMainWindowTrayIcon();
    ShowWindow(MainWindow.Handle(), SW_HIDE);
}

void ShowMainWindowTrayIcon() { MainWindow.托盘.Show(MainWindow.Handle(), TrayIconImage(), kTrayTip); }

bool MakeTopMost(HWND window, bool activate) {
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | (activate ? 0 : SWP_NOACTIVATE);
    return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags) != FALSE;
}
