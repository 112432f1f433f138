#include "launcher/install/download_complete.h"

#include <windows.h>

#include "download/rpc_request.h"
#include "launcher/install/client_update.h"
#include "launcher/install/core_components.h"
#include "launcher/install/download_complete_script.h"
#include "launcher/app/globals.h"
#include "launcher/app/launcher_texts.h"
#include "utilities/message_box.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/progress_display.h"
#include "launcher/install/update_flow.h"
#include "launcher/install/update_flow_download.h"
#include "utilities/whole_file.h"
#include "launcher/app/worker_thread.h"
#include "utilities/busy_delay.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"

namespace {

// "正在解压文件..."
const char kUnpackingLine[] = "\xD5\xFD\xD4\xDA\xBD\xE2\xD1\xB9\xCE\xC4\xBC\xFE...";
// "解压文件错误"
const char kUnpackErrorTitle[] = "\xBD\xE2\xD1\xB9\xCE\xC4\xBC\xFE\xB4\xED\xCE\xF3";
// "无法解压临时文件，请尝试手动解压 "
const char kUnpackErrorStart[] =
    "\xCE\xDE\xB7\xA8\xBD\xE2\xD1\xB9\xC1\xD9\xCA\xB1\xCE\xC4\xBC\xFE\xA3\xAC\xC7\xEB\xB3\xA2\xCA\xD4\xCA\xD6\xB6\xAF"
    "\xBD\xE2\xD1\xB9 ";
// " 文件至 FiveM/ 目录，或者尝试删除该文件并重新下载。\r\n尝试运行的命令行: "
const char kUnpackErrorMiddle[] =
    " \xCE\xC4\xBC\xFE\xD6\xC1 FiveM/ \xC4\xBF\xC2\xBC\xA3\xAC\xBB\xF2\xD5\xDF\xB3\xA2\xCA\xD4\xC9\xBE\xB3\xFD\xB8\xC3"
    "\xCE\xC4\xBC\xFE\xB2\xA2\xD6\xD8\xD0\xC2\xCF\xC2\xD4\xD8\xA1\xA3\r\n\xB3\xA2\xCA\xD4\xD4\xCB\xD0\xD0\xB5\xC4\xC3"
    "\xFC\xC1\xEE\xD0\xD0: ";
// "下载的启动器文件无效，将继续使用当前版本。"
const char kBadLauncherText[] =
    "\xCF\xC2\xD4\xD8\xB5\xC4\xC6\xF4\xB6\xAF\xC6\xF7\xCE\xC4\xBC\xFE\xCE\xDE\xD0\xA7\xA3\xAC\xBD\xAB\xBC\xCC\xD0\xF8"
    "\xCA\xB9\xD3\xC3\xB5\xB1\xC7\xB0\xB0\xE6\xB1\xBE\xA1\xA3";

const char kNewLauncher[] = "temp-launcher.exe";
const char kScriptName[] = "temp-update.cmd";

[[noreturn]] void ShowUnpackFailureAndStop(const std::string& commandLine) {
    std::string text = kUnpackErrorStart + DownloadFileName + kUnpackErrorMiddle + commandLine;
    ShowMessageBox(text.c_str(), kUnpackErrorTitle, MB_OK | MB_ICONERROR);
    QuitProgram();
}

void BadLauncherThread() {
    ShowMessageBox(kBadLauncherText, kErrorTitle, MB_OK | MB_ICONWARNING);
    SelfUpdateDownload = false;
    UpdateFlowClientStage();
}

}  // namespace

uint32_t GetOwnProcessId() { return GetCurrentProcessId(); }

void InstallDownloadedLauncher() {
    const std::string folder = ProgramFolder();
    const std::string newLauncher = folder + "\\" + kNewLauncher;
    // Moving anything else over the launcher would leave the user with no
    // launcher at all.
    if (!IsWindowsExecutableImage(ReadWholeFile(newLauncher))) {
        DeleteFilePath(newLauncher);
        StartWorkerOrEnd(BadLauncherThread);
        return;
    }
    StopDownloadDaemon();
    const std::string script = BuildSelfUpdateScript(GetOwnProcessId(), PathFileName(OwnExecutablePath(), true));
    if (WriteWholeFile(folder + "\\" + kScriptName, script))
        RunCommandLine(std::string("cmd /c ") + kScriptName, SW_HIDE, true, folder);
    // Still running: the script could not be written or started.
    EndProgram(0);
}

void OnDownloadComplete(const std::string& text) {
    if (!ClaimCurrentDownloadGid(NotificationGid(text))) return;
    EndDownloadDisplay();
    ShowProgress(-1, kUnpackingLine, "");
    if (SelfUpdateDownload) {
        InstallDownloadedLauncher();
        return;
    }
    StartWorkerOrEnd(UnpackPackage);
}

void UnpackPackage() {
    const std::string commandLine = BuildUnpackCommandLine(DownloadFileName, FiveMFolder);
    unsigned long exitCode = 0;
    const bool started = RunCommandLine(commandLine, std::nullopt, true, ProgramFolder(), &exitCode);
    // 7-Zip: 1 is a warning (some files were in use), 2 and above a failure.
    const bool unpacked = started && exitCode < 2;

    if (FullPackageDownload) {
        if (!unpacked || !FileExists(FiveMFolder + "\\FiveM.exe")) ShowUnpackFailureAndStop(commandLine);
        if (UpdateClient()) FinishStartup();
        return;
    }
    if (!unpacked) ShowUnpackFailureAndStop(commandLine);
    UpdatePackageUnpacked = true;
    WakeBusyWaits();
}
