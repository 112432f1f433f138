// The file-name request: what the file-open dialog's detour asks the web
// view unit before (or instead of) showing the system dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

using SystemOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);

// Raises FileDialogRequest on FileDialogUnit with an empty file name the
// handler may fill, copies that name (GBK to UTF-16, cut to the buffer with
// its terminating zero) into the dialog's file-name buffer, and then either
// answers TRUE at once (the handler returned false: the name counts as
// chosen) or shows the dialog through systemOpen with the name as its
// initial file name. Without a unit it only calls systemOpen.
BOOL AnswerFileDialogRequest(OPENFILENAMEW* dialog, SystemOpenFileNameFn systemOpen);
