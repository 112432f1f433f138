// The program's message box. Texts are GBK.
#pragma once

#include <windows.h>

// Shows text with title and the MB_ flags (task-modal unless MB_SYSTEMMODAL is
// among them) and blocks the calling thread until the box is closed. Returns
// the button pressed (IDOK...).
int ShowMessageBox(const char* text, const char* title, UINT flags = MB_OK);
