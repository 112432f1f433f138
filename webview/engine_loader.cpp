#include "webview/engine_loader.h"

#include "webview/file_dialog_hook.h"
#include "webview/text_conversion.h"
#include "utilities/fatal_exit.h"
#include "utilities/message_box.h"

#include <cstring>
#include <cwchar>

namespace {

const char* const kExportNames[] = {
#define WEBVIEW_EXPORT_NAME(name) #name,
    ENGINE_EXPORT_LIST(WEBVIEW_EXPORT_NAME)
#undef WEBVIEW_EXPORT_NAME
};
static_assert(sizeof(kExportNames) / sizeof(kExportNames[0]) == static_cast<size_t>(EngineExport::Count),
              "one name per export");

std::wstring& StoredEnginePath() {
    // Never destroyed: engine calls may still come from the exit processing.
    static std::wstring* path = new std::wstring();
    return *path;
}

HMODULE EngineModule = nullptr;
void* ExportCache[static_cast<size_t>(EngineExport::Count)] = {};
bool ShutdownDone = false;

// node.dll无效, 请重新下载
const wchar_t kLoadFailedCaption[] = L"node.dll\u65e0\u6548, \u8bf7\u91cd\u65b0\u4e0b\u8f7d";
// 获取命令失败, 请使用配套发布的node.dll版本
const char kExportMissingText[] =
    "\xBB\xF1\xC8\xA1\xC3\xFC\xC1\xEE\xCA\xA7\xB0\xDC, \xC7\xEB\xCA\xB9\xD3\xC3\xC5\xE4\xCC\xD7\xB7\xA2\xB2\xBC\xB5\xC4"
    "node.dll\xB0\xE6\xB1\xBE";
// 请把node.dll放在[ ... ]位置
const wchar_t kNotFoundBefore[] = L"\u8bf7\u628anode.dll\u653e\u5728[";
const wchar_t kNotFoundAfter[] = L"]\u4f4d\u7f6e";
// 错误
const wchar_t kNotFoundCaption[] = L"\u9519\u8bef";

void LoadEngineOrExit() {
    if (EngineModule) return;
    const std::wstring& stored = StoredEnginePath();
    const wchar_t* path = stored.empty() ? L"node.dll" : stored.c_str();
    EngineModule = LoadLibraryW(path);
    if (!EngineModule) {
        ShowMessageBoxW(path, kLoadFailedCaption, MB_OK);
        RaiseFatalExit(0);
    }
}

std::wstring ProgramFolder() {
    std::wstring buffer(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &buffer[0], (DWORD)buffer.size());
    buffer.resize(length);
    size_t slash = buffer.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash + 1);
}

using PathFileExistsWFn = BOOL(WINAPI*)(LPCWSTR);

PathFileExistsWFn LookupPathFileExists(const wchar_t* module, const char* function) {
    HMODULE library = LoadLibraryW(module);
    if (!library) return nullptr;
    return reinterpret_cast<PathFileExistsWFn>(reinterpret_cast<void*>(GetProcAddress(library, function)));
}

}  // namespace

void* ResolveEngineExport(const char* name) {
    LoadEngineOrExit();
    void* address = reinterpret_cast<void*>(GetProcAddress(EngineModule, name));
    if (!address) {
        ShowMessageBox(kExportMissingText, name, MB_OK);
        RaiseFatalExit(0);
    }
    return address;
}

void* CachedEngineExport(EngineExport id) {
    void*& slot = ExportCache[static_cast<size_t>(id)];
    if (!slot) slot = ResolveEngineExport(kExportNames[static_cast<size_t>(id)]);
    return slot;
}

void SetEngineDllPath(const std::string& path) { StoredEnginePath() = GbkToWide(path); }

const std::wstring& EngineDllPath() { return StoredEnginePath(); }

bool EngineLoaded() { return EngineModule != nullptr; }

bool EnsureEngineInitialized() {
    if (StoredEnginePath().empty()) LocateEngineDll();
    if (!ENGINE_CALL(wkeIsInitialize)()) {
        wkeSettings settings;
        std::memset(&settings, 0, sizeof settings);
        settings.mask = 4;
        ENGINE_CALL(wkeInitializeEx)(&settings);
    }
    return true;
}

std::wstring EngineDllCandidate(const std::wstring& programFolder) {
    std::wstring folder = programFolder;
    // Only a folder named exactly "lib" means "the engine lies one level up";
    // a suffix test would turn "Calib\" into "Ca".
    const std::wstring libFolder = L"\\lib\\";
    if (folder.size() >= libFolder.size() &&
        folder.compare(folder.size() - libFolder.size(), libFolder.size(), libFolder) == 0)
        folder.resize(folder.size() - 4);
    return folder + L"node.dll";
}

bool ShlwapiPathExists(const std::wstring& path, const wchar_t* module, const char* function) {
    static PathFileExistsWFn cached = nullptr;
    static bool looked = false;
    PathFileExistsWFn pathFileExists;
    if (wcscmp(module, L"Shlwapi.dll") == 0 && strcmp(function, "PathFileExistsW") == 0) {
        if (!looked) {
            looked = true;
            cached = LookupPathFileExists(module, function);
        }
        pathFileExists = cached;
    } else {
        pathFileExists = LookupPathFileExists(module, function);
    }
    // Without the system function the file counts as not found; the load
    // that follows reports a missing engine in its own way.
    return pathFileExists && pathFileExists(path.c_str());
}

bool LocateEngineDll() {
    std::wstring candidate = EngineDllCandidate(ProgramFolder());
    if (ShlwapiPathExists(candidate)) {
        StoredEnginePath() = candidate;
        return true;
    }
    std::wstring message = kNotFoundBefore + candidate + kNotFoundAfter;
    // The message buffer holds 520 units with its terminator.
    if (message.size() > 519) message.resize(519);
    ShowMessageBoxW(message.c_str(), kNotFoundCaption, MB_OK);
    return false;
}

void NotifyProgramEnding() {
    if (ShutdownDone) return;
    ShutdownDone = true;
    RemoveFileDialogHook();
    // The engine is neither finalised nor freed; an engine that was never
    // loaded stays unloaded, so a program that ends before its first view
    // never asks for "node.dll".
    if (EngineLoaded()) ENGINE_CALL(wkeIsInitialize)();
}
