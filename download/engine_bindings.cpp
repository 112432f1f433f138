#include "download/engine_bindings.h"

#include <windows.h>

namespace {

DownloadEngineBindings& Bindings() {
    static DownloadEngineBindings bindings;
    return bindings;
}

}  // namespace

void BindDownloadEngine(const DownloadEngineBindings& bindings) { Bindings() = bindings; }

const DownloadEngineBindings& DownloadEngine() { return Bindings(); }

std::string DaemonProgramFolder() {
    if (!Bindings().programFolder.empty()) return Bindings().programFolder;
    char folder[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
    std::string text(folder, n < MAX_PATH ? n : 0);
    if (!text.empty() && text.back() == '\\') text.pop_back();
    return text;
}
