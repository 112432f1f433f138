#include "launcher/message_box.h"

int ShowMessageBox(const char* text, const char* title, UINT flags) {
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    return MessageBoxA(nullptr, text ? text : "", title ? title : "", flags);
}
