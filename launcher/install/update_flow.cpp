#include "launcher/install/update_flow.h"

#include <windows.h>

#include "download/daemon_control.h"
#include "launcher/install/client_update.h"
#include "launcher/install/core_components.h"
#include "launcher/app/globals.h"
#include "launcher/app/launcher_settings.h"
#include "launcher/app/launcher_texts.h"
#include "utilities/message_box.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/progress_display.h"
#include "launcher/service/service_answers.h"
#include "launcher/service/service_hosts.h"
#include "launcher/updater/startup_window.h"
#include "launcher/updater/startup_workers.h"
#include "launcher/install/update_flow_download.h"
#include "utilities/whole_file.h"
#include "launcher/app/worker_thread.h"
#include "utilities/busy_delay.h"
#include "utilities/path_helpers.h"
#include "utilities/process_windows.h"

namespace {

// "正在检测更新..."
const char kCheckingLine[] = "\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xB8\xFC\xD0\xC2...";
// "发现新版本的启动器 "
const char kNewLauncherStart[] = "\xB7\xA2\xCF\xD6\xD0\xC2\xB0\xE6\xB1\xBE\xB5\xC4\xC6\xF4\xB6\xAF\xC6\xF7 ";
// "，正在更新..."
const char kNewLauncherEnd[] = "\xA3\xAC\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2...";
// "正在获取信息..."
const char kFetchingInfoLine[] = "\xD5\xFD\xD4\xDA\xBB\xF1\xC8\xA1\xD0\xC5\xCF\xA2...";
// "正在下载启动器文件..."
const char kDownloadingLauncherLine[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xC6\xF4\xB6\xAF\xC6\xF7\xCE\xC4\xBC\xFE...";
// "版本更新检查失败"
const char kCheckFailedLine[] = "\xB0\xE6\xB1\xBE\xB8\xFC\xD0\xC2\xBC\xEC\xB2\xE9\xCA\xA7\xB0\xDC";
// "无法获取最新的启动器版本号，请尝试在浏览器访问 "
const char kCheckFailedStart[] =
    "\xCE\xDE\xB7\xA8\xBB\xF1\xC8\xA1\xD7\xEE\xD0\xC2\xB5\xC4\xC6\xF4\xB6\xAF\xC6\xF7\xB0\xE6\xB1\xBE\xBA\xC5\xA3\xAC"
    "\xC7\xEB\xB3\xA2\xCA\xD4\xD4\xDA\xE4\xAF\xC0\xC0\xC6\xF7\xB7\xC3\xCE\xCA ";
// " 以排查具体问题，如果仍无法解决，请联系作者（Quillmere 社区管理组）。按确定后启动器会继续启动。"
const char kCheckFailedEnd[] =
    " \xD2\xD4\xC5\xC5\xB2\xE9\xBE\xDF\xCC\xE5\xCE\xCA\xCC\xE2\xA3\xAC\xC8\xE7\xB9\xFB\xC8\xD4\xCE\xDE\xB7\xA8\xBD\xE2"
    "\xBE\xF6\xA3\xAC\xC7\xEB\xC1\xAA\xCF\xB5\xD7\xF7\xD5\xDF\xA3\xA8Quillmere \xC9\xE7\xC7\xF8\xB9\xDC\xC0\xED\xD7\xE9"
    "\xA3\xA9\xA1\xA3\xB0\xB4\xC8\xB7\xB6\xA8\xBA\xF3\xC6\xF4\xB6\xAF\xC6\xF7\xBB\xE1\xBC\xCC\xD0\xF8\xC6\xF4\xB6\xAF"
    "\xA1\xA3";
// "游戏文件缺失"
const char kClientMissingLine[] = "\xD3\xCE\xCF\xB7\xCE\xC4\xBC\xFE\xC8\xB1\xCA\xA7";
// "正在下载游戏文件..."
const char kDownloadingClientLine[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xD3\xCE\xCF\xB7\xCE\xC4\xBC\xFE...";
// "请选择 FiveM 目录"
const char kChooseFolderLine[] = "\xC7\xEB\xD1\xA1\xD4\xF1 FiveM \xC4\xBF\xC2\xBC";
// "选择 FiveM 目录"
const char kFolderDialogTitle[] = "\xD1\xA1\xD4\xF1 FiveM \xC4\xBF\xC2\xBC";
// "未找到文件"
const char kNotFoundTitle[] = "\xCE\xB4\xD5\xD2\xB5\xBD\xCE\xC4\xBC\xFE";
// "所选择的目录不包含 "FiveM.exe"，或者此目录无效，请重新选择。"
const char kNotFoundText[] =
    "\xCB\xF9\xD1\xA1\xD4\xF1\xB5\xC4\xC4\xBF\xC2\xBC\xB2\xBB\xB0\xFC\xBA\xAC \"FiveM.exe\"\xA3\xAC\xBB\xF2\xD5\xDF\xB4"
    "\xCB\xC4\xBF\xC2\xBC\xCE\xDE\xD0\xA7\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xD1\xA1\xD4\xF1\xA1\xA3";

const int kFolderDialogPlace = 32;

void SetStartupWindowTopmost(bool topmost) {
    if (!StartupWindow.Handle()) return;
    SetWindowPos(StartupWindow.Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void DownloadNewLauncher() {
    ShowProgress(-1, kNewLauncherStart + std::to_string(LatestLauncherBuild) + kNewLauncherEnd, "");
    ShowProgress(-1, kFetchingInfoLine, "");
    const std::string url = UrlAnswer(LauncherUpdatePath(DownloadServer));
    ShowProgress(0, kDownloadingLauncherLine, "");
    FullPackageDownload = false;
    SelfUpdateDownload = true;
    DownloadFileName = "temp-launcher.exe";
    StartMainDownload(url);
}

void DownloadClientPackage(int choice) {
    ShowProgress(-1, kFetchingInfoLine, "");
    const std::string url = UrlAnswer(PackageDownloadPath(choice, ChosenDownloadServer));
    ShowProgress(0, kDownloadingClientLine, "");
    FullPackageDownload = true;
    DownloadFileName = "temp-client.zip";
    StartMainDownload(url);
}

bool IsFiveMExecutable(const std::string& path) {
    return lstrcmpiA(PathFileName(path, true).c_str(), "FiveM.exe") == 0;
}

// The user points at an existing FiveM.exe; its folder becomes the FiveM folder.
void ChooseExistingFolder() {
    for (;;) {
        SetStartupWindowTopmost(false);
        StartupWindow.SetVisible(false);
        StartWorkerThread(RaiseFolderDialog);
        ShowProgress(0, kChooseFolderLine, "");
        const std::string chosen = StartupWindow.通用对话框1 ? StartupWindow.通用对话框1->ShowOpen(nullptr) : "";
        if (chosen.empty()) {
            ShowMessageBox(kNotFoundText, kNotFoundTitle, MB_OK);
            QuitProgram();
        }
        // The dialog accepts any file that exists: a chosen GTA5.exe would make
        // its folder the FiveM folder and the update would unpack into it.
        if (!FileExists(chosen) || !IsFiveMExecutable(chosen)) {
            ShowMessageBox(kNotFoundText, kNotFoundTitle, MB_OK);
            continue;
        }
        const std::string folder = FolderOfFile(chosen);
        const int version = ReadCachesVersion(folder + "\\FiveM.app\\caches.xml");
        FiveMFolder = folder;
        WriteWholeFile(folder + "\\launcher_version.txt", std::to_string(version));
        SaveFiveMFolder(ProgramFolder(), folder);
        EnsureDirectory(folder + "\\launcher_cache\\");
        SetStartupWindowTopmost(true);
        StartupWindow.SetVisible(true);
        if (UpdateClient()) FinishStartup();
        return;
    }
}

void ChoosePackage() {
    ShowProgress(-1, kClientMissingLine, "");
    PackageChoice = -1;
    SetStartupWindowTopmost(false);
    if (StartupWindow.标签1) RaiseFeedbackEvent(StartupWindow.标签1, 0, 0, true);
    BusyWaitUntil([] { return PackageChoice != -1; });
    SetStartupWindowTopmost(true);
    switch (PackageChoice) {
        case 0: QuitProgram();
        case 1:
        case 2: DownloadClientPackage(PackageChoice); return;
        case 4: ChooseExistingFolder(); return;
        default:
            if (UpdateClient()) FinishStartup();
            return;
    }
}

}  // namespace

bool LauncherUpdateNeeded(int latestBuild) { return latestBuild != 0 && latestBuild > kLauncherBuild; }

std::string LauncherUpdatePath(int server) {
    return "/v1/fivemclient/update/launcher?server=" + std::to_string(server);
}

std::string PackageDownloadPath(int choice, int server) {
    if (choice == 1) return "/v1/fivemclient/download?server=" + std::to_string(server);
    if (choice == 2) return "/v1/fivemclient/download/nocache?server=" + std::to_string(server);
    return {};
}

void FinishStartup() {
    ShowProgress(-1, kLoadingLine, "");
    BusyDelay(2000);
    StartupDone = true;
}

void UpdateFlowClientStage() {
    LatestClientVersion = IntegerAnswer("/v1/fivemclient/version");
    if (LatestClientVersion == 0) {
        ShowProgress(-1, kCheckFailedLine, "");
        std::string text = kCheckFailedStart + std::string(ApiHost()) + kCheckFailedEnd;
        ShowMessageBox(text.c_str(), kFailureTitle, MB_OK);
        BusyDelay(2000);
        StartupDone = true;
        return;
    }
    if (FileExists(FiveMFolder + "\\launcher_version.txt")) {
        if (UpdateClient()) FinishStartup();
        return;
    }
    ChoosePackage();
}

void RaiseFolderDialog() {
    BusyDelay(500);
    HWND dialog = FindProcessWindow(GetCurrentProcessId(), [](HWND window) {
        char title[128] = {};
        GetWindowTextA(window, title, sizeof title);
        return strcmp(title, kFolderDialogTitle) == 0;
    });
    if (!dialog) return;
    SetWindowPos(dialog, HWND_TOPMOST, kFolderDialogPlace, kFolderDialogPlace, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void UpdateFlow() {
    const std::string folder = ProgramFolder();
    if (!MissingHelperTool(folder).empty()) FetchCoreComponents();
    EnsureDownloadDaemon();
    ShowProgress(-1, kCheckingLine, "");
    LatestLauncherBuild = IntegerAnswer("/v1/fivemclient/version/launcher");
    if (LauncherUpdateNeeded(LatestLauncherBuild)) {
        DownloadNewLauncher();
        return;
    }
    UpdateFlowClientStage();
}
