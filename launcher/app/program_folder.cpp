#include "launcher/app/program_folder.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "utilities/text_search.h"

namespace {

std::mutex folderLock;
std::string overridden;

// The executable's full path through GetModuleFileNameA or ...W, in a buffer
// that grows until the path fits.
template <typename Char, typename GetName>
std::basic_string<Char> ModulePath(GetName getName) {
    std::vector<Char> path(MAX_PATH);
    for (;;) {
        DWORD n = getName(nullptr, path.data(), (DWORD)path.size());
        if (n == 0) return {};
        if (n < path.size()) return std::basic_string<Char>(path.data(), n);
        path.resize(path.size() * 2);
    }
}

const char* const kOwnFileNames[] = {
    "launcher.exe",      "aria2c.exe",          "7z.exe",          "7z.dll",          "zip.dll",
    "node.dll",          "launcher_config.ini", "temp-update.zip", "temp-client.zip", "temp-data.zip",
    "temp-launcher.exe", "temp-update.cmd",     "FiveM",
};

}  // namespace

bool IsLauncherOwnFileName(const std::string& name) {
    const size_t end = name.find_last_not_of(". ");
    if (end == std::string::npos) return false;
    const std::string_view stem(name.data(), end + 1);
    for (const char* own : kOwnFileNames)
        if (EqualsIgnoringAsciiCase(stem, own)) return true;
    // The running program itself, whatever it was renamed to.
    const std::string self = OwnExecutablePath();
    const size_t cut = FindLastChar(self, '\\');
    return cut != std::string::npos && EqualsIgnoringAsciiCase(stem, std::string_view(self).substr(cut + 1));
}

std::string ProgramFolder() {
    {
        std::lock_guard<std::mutex> lock(folderLock);
        if (!overridden.empty()) return overridden;
    }
    return FolderOfFile(OwnExecutablePath());
}

std::string OwnExecutablePath() { return ModulePath<char>(GetModuleFileNameA); }

std::string FolderOfFile(const std::string& path) {
    const size_t cut = FindLastChar(path, '\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::wstring ProgramFolderWide() {
    std::wstring path = ModulePath<wchar_t>(GetModuleFileNameW);
    size_t cut = path.rfind(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

void OverrideProgramFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(folderLock);
    overridden = folder;
}
