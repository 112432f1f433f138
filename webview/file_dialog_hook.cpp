#include "webview/file_dialog_hook.h"

#include <string>

SystemOpenFileNameFn OpenFileNameFunction = nullptr;
SystemOpenFileNameFn SaveFileNameFunction = nullptr;

HookManager FileDialogHookManager;

namespace {

// Read from the import table when the program starts. As a constant
// initialiser the address would be this program's own import stub, and
// hooking that would miss every other module's calls (the engine's among them).
struct DialogFunctionCapture {
    DialogFunctionCapture() {
        OpenFileNameFunction = GetOpenFileNameW;
        SaveFileNameFunction = GetSaveFileNameW;
    }
} CaptureAtStart;

void ReportHookFailure(const char* step, apiHookError error) {
    std::string text = std::string("Quillmere web view: the file-open dialog hook ") + step + ": " +
                       ApiHookErrorText(error) + " (apiHookError " + std::to_string(error) + ")\n";
    OutputDebugStringA(text.c_str());
}

}  // namespace

BOOL WINAPI OpenFileDialogDetour(OPENFILENAMEW* dialog) {
    return AnswerFileDialogRequest(dialog, OpenFileNameFunction);
}

void InstallFileDialogHook() {
    try {
        InstallApiHook(FileDialogHookManager, reinterpret_cast<void**>(&OpenFileNameFunction),
                       reinterpret_cast<void*>(OpenFileDialogDetour), true);
    } catch (apiHookError error) {
        // The view works without the hook: file inputs then show the system dialog.
        ReportHookFailure("is not installed; file inputs show the system dialog", error);
    }
}

void RemoveFileDialogHook() {
    try {
        RemoveApiHook(FileDialogHookManager);
    } catch (apiHookError error) {
        ReportHookFailure("could not be removed", error);
    }
}
