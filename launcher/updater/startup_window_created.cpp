#include "launcher/app/chinese_path_check.h"
#include "launcher/app/globals.h"
#include "launcher/app/launcher_settings.h"
#include "launcher/app/launcher_texts.h"
#include "utilities/guarded_call.h"
#include "utilities/message_box.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/startup_window.h"
#include "launcher/updater/startup_workers.h"
#include "utilities/audio_device_enumerator.h"
#include "utilities/path_helpers.h"
#include "utilities/window_shadow.h"
#include "webview/engine_loader.h"

namespace {

// "请不要在含有中文字符的目录下运行启动器（包括上级目录），否则会发生一些不可预料的问题。"
const char kChineseFolderText[] =
    "\xC7\xEB\xB2\xBB\xD2\xAA\xD4\xDA\xBA\xAC\xD3\xD0\xD6\xD0\xCE\xC4\xD7\xD6\xB7\xFB\xB5\xC4\xC4\xBF\xC2\xBC\xCF\xC2"
    "\xD4\xCB\xD0\xD0\xC6\xF4\xB6\xAF\xC6\xF7\xA3\xA8\xB0\xFC\xC0\xA8\xC9\xCF\xBC\xB6\xC4\xBF\xC2\xBC\xA3\xA9\xA3\xAC"
    "\xB7\xF1\xD4\xF2\xBB\xE1\xB7\xA2\xC9\xFA\xD2\xBB\xD0\xA9\xB2\xBB\xBF\xC9\xD4\xA4\xC1\xCF\xB5\xC4\xCE\xCA\xCC\xE2"
    "\xA1\xA3";

}  // namespace

void OnStartupWindowCreated() {
    // Transparent until the fade-in timer raises it.
    StartupWindow.SetAlpha(0);
    DownloadPaused = false;
    StartupDone = false;
    FullPackageDownload = false;
    SelfUpdateDownload = false;

    if (ProgramFolderHasChineseChar()) {
        ShowMessageBox(kChineseFolderText, kErrorTitle, MB_OK);
        QuitProgram();
    }

    const std::string programFolder = ProgramFolder();
    LoadLauncherSettings(programFolder);

    if (ColorProgressBar) {
        // Without an audio output the device stays null and the bar shows
        // the colour of silence.
        if (AudioEnumerator) AudioEnumerator->GetDefaultEndpoint(kRender, 0 /* console */, &DefaultAudioDevice);
        StartupWindow.时钟5->SetInterval(10);
    }

    SetWindowShadow(StartupWindow.Handle(), 0, 10);
    // The start-up done watch sleeps until the flows set the flag.
    StartupDone.Watch([] { StartupWindow.时钟3->Wake(); });

    // Before the workers start: the header picture loader writes into it.
    EnsureDirectory(FiveMFolder + "\\launcher_cache\\");

    // Without the flow the window would wait for ever for its end.
    if (!StartStartupWorker(UpdateFlow)) EndAfterRuntimeError();
    StartStartupWorker(RefreshHeaderImage);
    StartStartupWorker(InstallDigitalFont);

    SetEngineDllPath(programFolder + "\\node.dll");

    StartupWindow.版本信息->SetCaption("Quillmere FiveM (" + std::to_string(kLauncherBuild) + ")");
}
