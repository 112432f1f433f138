#include "utilities/path_helpers.h"

#include <windows.h>
#include <imagehlp.h>
#include <shlwapi.h>

#include "utilities/text_search.h"

std::string PathFileName(const std::string& path, std::optional<bool> keepExtension) {
    std::string name = PathFindFileNameA(path.c_str());
    if (EndsWithChar(name, '\\')) return {};
    if (keepExtension.value_or(false)) return name;
    return name.substr(0, name.size() - PathExtension(name).size());
}

std::string PathExtension(const std::string& path) { return PathFindExtensionA(path.c_str()); }

bool FileExists(const std::string& path) { return PathFileExistsA(path.c_str()) == 1; }

bool EnsureDirectory(const std::string& folder) {
    std::string chain = folder;
    // The platform creates only the folders named before the last "\".
    if (!EndsWithChar(chain, '\\')) chain += '\\';
    return MakeSureDirectoryPathExists(chain.c_str()) != FALSE;
}

bool IsPlainFileName(const std::string& name) {
    // "." and ".." name the folder and its parent; the file system drops
    // trailing dots, so "..." names the folder too. "v1..2.rpf" is a file.
    if (name.find_first_not_of('.') == std::string::npos) return false;
    for (const char* piece : {"\\", "/", ":"})
        if (FindText(name, piece) != -1) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}
