// The file-name request: what the file-open dialog's detour asks the web
// view unit before (or instead of) showing the system dialog.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

using SystemOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);

// Raises FileDialogRequest on FileDialogUnit with an empty file name the
// handler may fill. When a handler ran and the dialog's buffer takes the
// whole name (GBK to UTF-16) with its double terminating zero, the name goes
// into the buffer with its file and extension offsets; a name that does not
// fit is never cut. Then either the handler returned false and the answer
// comes at once (TRUE for a delivered, non-empty name; FALSE, as for a
// cancelled dialog, otherwise), or the dialog is shown through systemOpen
// with the name as its initial file name. Without a unit it only calls
// systemOpen.
BOOL AnswerFileDialogRequest(OPENFILENAMEW* dialog, SystemOpenFileNameFn systemOpen);
