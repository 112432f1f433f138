#include "launcher/program_folder.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "utilities/text_search.h"

namespace {
std::mutex folderLock;
std::string overridden;
}  // namespace

std::string ProgramFolder() {
    {
        std::lock_guard<std::mutex> lock(folderLock);
        if (!overridden.empty()) return overridden;
    }
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), (DWORD)path.size());
        if (n == 0) return {};
        if (n < path.size()) {
            std::string text(path.data(), n);
            // The last "\" that starts a character: a GBK trail byte may be 0x5C.
            size_t cut = std::string::npos;
            for (size_t i = 0; i < text.size(); ++i) {
                if (IsGbkLeadByte((unsigned char)text[i]))
                    ++i;
                else if (text[i] == '\\')
                    cut = i;
            }
            return cut == std::string::npos ? std::string() : text.substr(0, cut);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolderWide() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (n == 0) return {};
        if (n < path.size()) {
            std::wstring text(path.data(), n);
            size_t cut = text.rfind(L'\\');
            return cut == std::wstring::npos ? std::wstring() : text.substr(0, cut);
        }
        path.resize(path.size() * 2);
    }
}

void OverrideProgramFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(folderLock);
    overridden = folder;
}
