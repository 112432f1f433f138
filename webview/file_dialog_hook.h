// The file-open dialog hook: the system's GetOpenFileNameW is redirected
// inside the process to OpenFileDialogDetour, so that a page's file input
// asks the web view unit (FileDialogRequest) before, or instead of, showing
// the system dialog. GetSaveFileNameW is taken but never hooked.
#pragma once

#include "webview/file_dialog_request.h"
#include "webview/hooks/hook_manager.h"

// The dialog functions as the program imports them, taken at program start.
// While the hook is in place OpenFileNameFunction holds the trampoline, so a
// call through it reaches the real dialog.
extern SystemOpenFileNameFn OpenFileNameFunction;
extern SystemOpenFileNameFn SaveFileNameFunction;

// The one manager of the dialog hook.
extern HookManager FileDialogHookManager;

// Stands in for GetOpenFileNameW and answers as it does.
BOOL WINAPI OpenFileDialogDetour(OPENFILENAMEW* dialog);

// Installs and enables the hook (once; later calls change nothing). A failure
// is written to the debugger output and leaves the system dialog as it is;
// it never reaches the caller.
void InstallFileDialogHook();
// Removes the hook at program end; a failure is written to the debugger output.
void RemoveFileDialogHook();
