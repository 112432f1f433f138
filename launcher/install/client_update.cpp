#include "launcher/install/client_update.h"

#include "launcher/install/core_components.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/updater/progress_display.h"
#include "launcher/service/service_answers.h"
#include "launcher/install/update_flow_download.h"
#include "utilities/whole_file.h"
#include "utilities/busy_delay.h"
#include "utilities/path_helpers.h"
#include "utilities/text_number.h"
#include "utilities/text_search.h"

namespace {

// "发现新版本，正在更新..."
const char kUpdatingLine[] = "\xB7\xA2\xCF\xD6\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xAC\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2...";

}  // namespace

std::string ClientUpdatePath(int local, int server) {
    return "/v1/fivemclient/update?local=" + std::to_string(local) + "&server=" + std::to_string(server);
}

bool UpdateClient() {
    const int local = (int)TextToInteger(ReadWholeFile(FiveMFolder + "\\launcher_version.txt"));
    if (local == LatestClientVersion) return true;
    ShowProgress(0, kUpdatingLine, "");
    const std::string url = UrlAnswer(ClientUpdatePath(local, DownloadServer));
    FullPackageDownload = false;
    UpdatePackageUnpacked = false;
    DownloadFileName = "temp-update.zip";
    if (!StartMainDownload(url)) return false;
    BusyWaitUntil([] { return UpdatePackageUnpacked || MainDownloadFailed; });
    if (!UpdatePackageUnpacked) return false;
    DeleteFilePath(ProgramFolder() + "\\temp-update.zip");
    return true;
}

int CachesVersionOfText(const std::string& text) {
    // 1-based positions as the rule states them; -1 when not found.
    const long long a = FindText(text, "Version=\"");
    const long long b = FindText(text, "\" />");
    const long long start = a + 9;  // 1-based start of the cut
    const long long length = b - a - 9;
    if (length <= 0 || start < 1 || start > (long long)text.size()) return 0;
    return (int)TextToInteger(std::string_view(text).substr((size_t)(start - 1), (size_t)length));
}

int ReadCachesVersion(const std::string& path) {
    if (!FileExists(path)) return 0;
    return CachesVersionOfText(ReadWholeFile(path));
}
