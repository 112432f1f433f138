#include "launcher/install/core_components.h"

#include <windows.h>

#include "assets/zip_dll_image.h"
#include "download/rpc_request.h"
#include "launcher/app/globals.h"
#include "launcher/service/http_get.h"
#include "launcher/app/launcher_texts.h"
#include "utilities/message_box.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/progress_display.h"
#include "launcher/service/service_hosts.h"
#include "utilities/whole_file.h"
#include "launcher/app/worker_thread.h"
#include "utilities/busy_delay.h"
#include "utilities/command_line.h"
#include "utilities/path_helpers.h"

namespace {

// "正在下载核心组件..."
const char kFetchingText[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xBA\xCB\xD0\xC4\xD7\xE9\xBC\xFE...";
// "无法获取核心组件，请检查网络连接后重新启动启动器。"
const char kStillMissingText[] =
    "\xCE\xDE\xB7\xA8\xBB\xF1\xC8\xA1\xBA\xCB\xD0\xC4\xD7\xE9\xBC\xFE\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7"
    "\xC1\xAC\xBD\xD3\xBA\xF3\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF\xC6\xF4\xB6\xAF\xC6\xF7\xA1\xA3";

// zip.dll's one export: zip file and destination folder (ending in "\").
using ExtractAllFunction = int(__stdcall*)(const char* zipFile, const char* folder);

void ExtractWithZipDll(const std::string& programFolder, const std::string& zipFile) {
    HMODULE library = LoadLibraryA((programFolder + "\\zip.dll").c_str());
    if (!library) return;
    auto extract =
        reinterpret_cast<ExtractAllFunction>(reinterpret_cast<void*>(GetProcAddress(library, "MyZip_ExtractFileAll")));
    if (extract) extract(zipFile.c_str(), (programFolder + "\\").c_str());
    // The library stays loaded: the process ends soon after.
}

}  // namespace

const char* const kHelperTools[5] = {"aria2c.exe", "7z.exe", "node.dll", "zip.dll", "7z.dll"};

std::string MissingHelperTool(const std::string& folder) {
    for (const char* tool : kHelperTools)
        if (!FileExists(folder + "\\" + tool)) return tool;
    return {};
}

std::string RestartCommandLine(const std::string& exePath) { return "\"" + exePath + "\""; }

void FetchPluginArchive() {
    const std::string folder = ProgramFolder();
    const std::string archive = folder + "\\temp-data.zip";
    std::string body = HttpGet(StaticFileUrl("/files/launcher_plugin.zip"));
    WriteWholeFile(archive, body);
    ExtractWithZipDll(folder, archive);
    DeleteFilePath(archive);
    CoreComponentsReady = true;
    WakeBusyWaits();
}

void FetchCoreComponents() {
    ShowProgress(-1, kFetchingText, "");
    const std::string folder = ProgramFolder();
    WriteWholeFile(folder + "\\zip.dll", ZipDllImage(), ZipDllImageSize());
    StartWorkerOrEnd(FetchPluginArchive);
    BusyWaitUntil([] { return CoreComponentsReady.load(); });
    StopDownloadDaemon();
    // Restarting while a tool is still missing would fetch again at once,
    // forever; the user is told instead.
    if (!MissingHelperTool(folder).empty()) {
        ShowMessageBox(kStillMissingText, kErrorTitle, MB_OK | MB_ICONERROR);
        EndProgram(0);
    }
    RunCommandLine(RestartCommandLine(OwnExecutablePath()), std::nullopt, false, folder);
    EndProgram(0);
}
