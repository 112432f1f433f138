// installPackage and installBigPackage: an add-on package at a URL, saved
// under the file name the page gives, or the built-in remove-border patch.
#include <vector>

#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/app/worker_thread.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/page_action_entries.h"
#include "launcher/page_actions/page_action_handlers.h"
#include "launcher/page_actions/page_action_texts.h"
#include "launcher/page_actions/page_bridge.h"
#include "launcher/page_actions/page_dialog.h"
#include "launcher/page_actions/remove_border.h"
#include "utilities/path_helpers.h"

namespace {

// "URL>file name", decoded. Writes both globals and shows the loading
// dialog; false when the page asked for nothing this program does. url and
// fileName get the worker's own copies.
bool TakePackageRequest(const std::string& argument, std::string* url, std::string* fileName) {
    std::string decoded = UrlDecode(argument);
    if (decoded.compare(0, 7, "http://") != 0 && decoded.compare(0, 8, "https://") != 0) return false;
    std::vector<std::string> pieces = SplitText(decoded, '>');
    if (pieces.size() < 2) return false;
    // The name becomes a path in the FiveM folder, an argument of 7-Zip and
    // a file deleted afterwards: it must stay one plain file name.
    if (!IsPlainFileName(pieces[1])) {
        ShowPageDialog(kInstallFailedTitle, kBadPackageNameText, "error");
        return false;
    }
    // The archive is written, unpacked and deleted in the program folder:
    // under the name of one of the launcher's own files it would replace
    // that file, then delete it.
    if (IsLauncherOwnFileName(pieces[1])) {
        ShowPageDialog(kInstallFailedTitle, kOwnFileNameText, "error");
        return false;
    }
    AddonPackageUrl = *url = pieces[0];
    AddonPackageFileName = *fileName = pieces[1];
    RunPageScript(kInstallingScript);
    return true;
}

}  // namespace

void InstallPackageAction(const std::string& argument) {
    if (argument == "removeBorder") {
        InstallRemoveBorder();
        return;
    }
    std::string url, fileName;
    if (TakePackageRequest(argument, &url, &fileName))
        StartWorkerThread([url, fileName] { InstallAddonPackage(url, fileName); });
}

void InstallBigPackageAction(const std::string& argument) {
    std::string url, fileName;
    if (TakePackageRequest(argument, &url, &fileName))
        StartWorkerThread([url, fileName] { StartAddonDownload(url, fileName); });
}
