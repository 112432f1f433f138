// Loading the browser engine "node.dll" at run time. The engine is never
// linked: each export is looked up by name the first time it is called and
// kept for the life of the process. A missing engine or export is fatal: a
// message box, then the process ends with code 0.
//
// All functions are for the UI thread; nothing here is locked.
#pragma once

#include "webview/engine_boundary.h"

#include <string>

enum class EngineExport {
#define WEBVIEW_EXPORT_ID(name) name,
    ENGINE_EXPORT_LIST(WEBVIEW_EXPORT_ID)
#undef WEBVIEW_EXPORT_ID
        Count
};

// The address of an export, from the cache or looked up now (loading the
// engine first when needed). Never returns on failure.
void* CachedEngineExport(EngineExport id);
// The address of a named export; loads the engine first when needed. Never
// returns on failure.
void* ResolveEngineExport(const char* name);

// Calls an engine export by name: ENGINE_CALL(wkeLoadURL)(view, url).
#define ENGINE_CALL(name) (reinterpret_cast<name##Fn>(CachedEngineExport(EngineExport::name)))

// Library command 0: the GBK path of "node.dll", stored as UTF-16 (code page
// 936). An empty text counts as not set. It takes effect only before the
// engine is first loaded.
void SetEngineDllPath(const std::string& path);

// Loads and initialises the engine once; later calls only ask whether it is
// initialised. Always true (failures end the process).
bool EnsureEngineInitialized();

// Looks for "node.dll" beside the program (in the parent folder when the
// program lies in a folder named exactly "lib"), stores the path when the
// file is there, and otherwise tells the user where to put it.
bool LocateEngineDll();

// The end-of-program notice of the host. Only the first one counts. It never
// loads the engine: an exit before any view existed must not fail on a
// missing "node.dll".
void NotifyProgramEnding();

// Whether the engine module has been loaded in this process.
bool EngineLoaded();

// --- pieces of the above, exposed for tests ---

// The candidate path for a program folder that ends with "\".
std::wstring EngineDllCandidate(const std::wstring& programFolder);
// PathFileExistsW looked up in module at run time; a missing module or
// function counts as "not there".
bool ShlwapiPathExists(const std::wstring& path, const wchar_t* module = L"Shlwapi.dll",
                       const char* function = "PathFileExistsW");
// The stored engine path (empty when none).
const std::wstring& EngineDllPath();
