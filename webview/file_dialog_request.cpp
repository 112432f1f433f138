#include "webview/file_dialog_request.h"

#include "webview/event_call.h"
#include "webview/text_conversion.h"
#include "webview/view_events.h"

#include <algorithm>
#include <cwchar>

namespace {

void CopyFileName(OPENFILENAMEW* dialog, const std::wstring& name) {
    if (!dialog || !dialog->lpstrFile || dialog->nMaxFile == 0) return;
    size_t count = std::min<size_t>(name.size(), dialog->nMaxFile - 1);
    wmemcpy(dialog->lpstrFile, name.data(), count);
    dialog->lpstrFile[count] = L'\0';
}

}  // namespace

BOOL AnswerFileDialogRequest(OPENFILENAMEW* dialog, SystemOpenFileNameFn systemOpen) {
    try {
        if (WebViewUnitState* state = FileDialogUnit) {
            std::string name;
            EventOutcome outcome = EventCall(*state, kEventFileDialogRequest).Text(name).Raise();
            CopyFileName(dialog, GbkToWide(name));
            if (ReturnedFalse(outcome)) return TRUE;
        }
        return systemOpen ? systemOpen(dialog) : FALSE;
    } catch (...) {
        // Called from the dialog's detour, inside the page's own call: nothing may escape.
        return FALSE;
    }
}
