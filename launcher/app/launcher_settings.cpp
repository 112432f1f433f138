#include "launcher/app/launcher_settings.h"

#include <windows.h>

#include <vector>

#include "launcher/app/globals.h"
#include "utilities/path_helpers.h"
#include "utilities/text_number.h"
#include "utilities/text_search.h"

namespace {

const char kDownload[] = "download";
const char kFiveM[] = "fivem";

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    std::string Read(const char* section, const char* key, const char* fallback) const {
        std::vector<char> buffer(10240, '\0');
        DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(), (DWORD)buffer.size(), path_.c_str());
        return std::string(buffer.data(), n);
    }
    // A failed write is not reported: the values in memory still apply.
    void Write(const char* section, const char* key, const std::string& value) const {
        WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str());
    }

private:
    std::string path_;
};

// The leading decimal integer (blanks skipped, one sign allowed); 0 when the
// text does not begin with a number.
int32_t TextToInt(const std::string& text) {
    int64_t value = TextToInteger(text);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return (int32_t)value;
}

// Looked up as a directory entry: a name ending in "\" names no entry.
bool EntryExists(const std::string& path) { return !EndsWithChar(path, '\\') && FileExists(path); }

}  // namespace

void SaveFiveMFolder(const std::string& programFolder, const std::string& folder) {
    SettingsFile(programFolder + "\\launcher_config.ini").Write(kFiveM, "path", folder);
}

void LoadLauncherSettings(const std::string& programFolder) {
    SettingsFile file(programFolder + "\\launcher_config.ini");
    const std::string defaultFolder = programFolder + "\\FiveM";

    if (!FileExists(programFolder + "\\launcher_config.ini")) {
        file.Write(kDownload, "threads", "16");
        file.Write(kDownload, "lowspeed", "0");
        file.Write(kDownload, "color_processbar", "false");
        file.Write(kDownload, "server", "1");
        file.Write(kFiveM, "path", defaultFolder);
    }

    DownloadThreads = TextToInt(file.Read(kDownload, "threads", "-1"));
    LowSpeedLimitKB = TextToInt(file.Read(kDownload, "lowspeed", "-1"));
    DownloadServer = TextToInt(file.Read(kDownload, "server", "-1"));
    FiveMFolder = file.Read(kFiveM, "path", "");
    ColorProgressBar = file.Read(kDownload, "color_processbar", "false") == "true";

    // A key missing from the file read as its fallback; write the default back.
    if (DownloadThreads == -1) {
        file.Write(kDownload, "threads", "16");
        DownloadThreads = 16;
    }
    if (DownloadServer == -1) {
        file.Write(kDownload, "server", "1");
        DownloadServer = 1;
    }
    if (LowSpeedLimitKB == -1) {
        file.Write(kDownload, "lowspeed", "0");
        LowSpeedLimitKB = 0;
    }
    if (FiveMFolder.empty()) {
        file.Write(kFiveM, "path", defaultFolder);
        FiveMFolder = defaultFolder;
    }
    if (file.Read(kDownload, "color_processbar", "").empty()) {
        file.Write(kDownload, "color_processbar", "false");
        ColorProgressBar = false;
    }

    // In memory only: the file keeps what the user wrote.
    if (DownloadThreads < 1) DownloadThreads = 1;
    if (DownloadThreads > 64) DownloadThreads = 64;
    if (!EntryExists(FiveMFolder) || !EntryExists(FiveMFolder + "\\FiveM.exe")) FiveMFolder = defaultFolder;
}
