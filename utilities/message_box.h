// The program's message box. Every box of the program goes through here, so
// that none opens behind the program's own top-most windows.
#pragma once

#include <windows.h>

// Shows text with title and the MB_ flags and blocks the calling thread until
// the box is closed. The box is task-modal (unless MB_SYSTEMMODAL is given)
// and stands in front of every window, top-most ones included. Texts are
// GBK. Returns the button pressed (IDOK...).
int ShowMessageBox(const char* text, const char* title, UINT flags = MB_OK);

// The same for UTF-16 texts.
int ShowMessageBoxW(const wchar_t* text, const wchar_t* title, UINT flags = MB_OK);
