#include "launcher/page_actions/addon_package.h"

#include <windows.h>

#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/install/download_complete_script.h"
#include "launcher/main_window/page_script.h"
#include "launcher/service/http_get.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_action_texts.h"
#include "utilities/command_line.h"
#include "utilities/win_handles.h"
#include "utilities/whole_file.h"

namespace {

// "已成功安装此附加包"
const char kSuccessText[] = "\xD2\xD1\xB3\xC9\xB9\xA6\xB0\xB2\xD7\xB0\xB4\xCB\xB8\xBD\xBC\xD3\xB0\xFC";
// "无法下载此附加包，请检查网络后重试"
const char kAddonDownloadFailedText[] =
    "\xCE\xDE\xB7\xA8\xCF\xC2\xD4\xD8\xB4\xCB\xB8\xBD\xBC\xD3\xB0\xFC\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7"
    "\xBA\xF3\xD6\xD8\xCA\xD4";
// "无法解压此附加包，文件可能已损坏"
const char kAddonUnpackFailedText[] =
    "\xCE\xDE\xB7\xA8\xBD\xE2\xD1\xB9\xB4\xCB\xB8\xBD\xBC\xD3\xB0\xFC\xA3\xAC\xCE\xC4\xBC\xFE\xBF\xC9\xC4\xDC\xD2\xD1"
    "\xCB\xF0\xBB\xB5";
// "无法将附加包文件复制到 FiveM 目录"
const char kAddonCopyFailedText[] =
    "\xCE\xDE\xB7\xA8\xBD\xAB\xB8\xBD\xBC\xD3\xB0\xFC\xCE\xC4\xBC\xFE\xB8\xB4\xD6\xC6\xB5\xBD FiveM \xC4\xBF\xC2\xBC";

// Started hidden, waited for; false unless it ran and ended with an exit
// code below failAt.
bool RunStep(const std::string& commandLine, unsigned long failAt) {
    unsigned long exitCode = 0;
    return RunCommandLine(commandLine, SW_HIDE, true, ProgramFolder(), &exitCode) && exitCode < failAt;
}

// True when every file below source has a file of the same size at the
// same place below target. xcopy's exit code alone misses copies that
// failed: some systems' xcopy ends with 0 whatever happened.
bool FilesArrived(const std::string& source, const std::string& target) {
    WIN32_FIND_DATAA entry;
    FindHandle search(FindFirstFileA((source + "\\*").c_str(), &entry));
    if (!search.Valid()) return true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string from = source + "\\" + name, to = target + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!FilesArrived(from, to)) return false;
            continue;
        }
        WIN32_FILE_ATTRIBUTE_DATA copied;
        if (!GetFileAttributesExA(to.c_str(), GetFileExInfoStandard, &copied) ||
            copied.nFileSizeHigh != entry.nFileSizeHigh || copied.nFileSizeLow != entry.nFileSizeLow)
            return false;
    } while (FindNextFileA(search.Get(), &entry));
    return true;
}

std::string EndDialogScript(const char* title, const char* text, const char* icon) {
    return std::string("Swal.update({title:'") + title + "', text:'" + text + "', icon:'" + icon +
           "'});Swal.hideLoading();";
}

}  // namespace

bool AddonCopyNeeded(const std::string& programFolder, const std::string& fiveMFolder) {
    // Copying a folder onto itself is an error for xcopy, and the files are
    // in place already.
    return lstrcmpiA((programFolder + "\\FiveM").c_str(), fiveMFolder.c_str()) != 0;
}

std::string BuildAddonCopyCommandLine(const std::string& fiveMFolder) {
    return "cmd /c xcopy FiveM\\* \"" + fiveMFolder + "\\\" /e /y";
}

AddonOutcome UnpackAndCopyAddon(const std::string& fileName) {
    const std::string folder = ProgramFolder();
    AddonOutcome outcome = AddonOutcome::Installed;
    // 7-Zip: 1 is a warning (a file in use), 2 and above a failure. xcopy:
    // anything but 0 means that not everything was copied.
    // Quoted: a file name may hold blanks, and 7-Zip drops the quotes.
    if (!RunStep(BuildUnpackCommandLine("\"" + fileName + "\"", folder), 2))
        outcome = AddonOutcome::UnpackFailed;
    else if (AddonCopyNeeded(folder, FiveMFolder) &&
             (!RunStep(BuildAddonCopyCommandLine(FiveMFolder), 1) || !FilesArrived(folder + "\\FiveM", FiveMFolder)))
        outcome = AddonOutcome::CopyFailed;
    DeleteFilePath(folder + "\\" + fileName);
    return outcome;
}

std::string AddonSuccessScript() { return EndDialogScript(kInstallDoneTitle, kSuccessText, "success"); }

std::string AddonLargeSuccessScript(const std::string& fileName) {
    return AddonSuccessScript() + "installPackageCallback('" + ScriptText(fileName) + "', 'done');";
}

std::string AddonFailureScript(AddonOutcome outcome) {
    const char* text = outcome == AddonOutcome::UnpackFailed ? kAddonUnpackFailedText
                       : outcome == AddonOutcome::CopyFailed ? kAddonCopyFailedText
                                                             : kAddonDownloadFailedText;
    return EndDialogScript(kInstallFailedTitle, text, "error");
}

void InstallAddonPackage(const std::string& url, const std::string& fileName) {
    AddonOutcome outcome = AddonOutcome::DownloadFailed;
    if (!url.empty() && !fileName.empty()) {
        int status = 0;
        const std::string body = HttpGet(url, &status);
        // An error page is no archive, and a body cut short (status 0) a
        // damaged one; writing either would only make 7-Zip fail.
        if (!body.empty() && status > 0 && status < 400 && WriteWholeFile(ProgramFolder() + "\\" + fileName, body))
            outcome = UnpackAndCopyAddon(fileName);
        else
            DeleteFilePath(ProgramFolder() + "\\" + fileName);
    }
    RunPageScript(outcome == AddonOutcome::Installed ? AddonSuccessScript() : AddonFailureScript(outcome));
}
