#include "webview/file_dialog_request.h"

#include "webview/event_call.h"
#include "webview/text_conversion.h"
#include "webview/view_events.h"

#include <cwchar>

namespace {

// Puts name into the dialog's result fields as GetOpenFileNameW would: the
// name with a double terminating zero, the offsets of its file part and of
// its extension. False, with nothing written, when the buffer cannot take it.
bool DeliverFileName(OPENFILENAMEW* dialog, const std::wstring& name) {
    if (!dialog || !dialog->lpstrFile || name.size() > 0xFFFF || dialog->nMaxFile < name.size() + 2) return false;
    wmemcpy(dialog->lpstrFile, name.data(), name.size());
    dialog->lpstrFile[name.size()] = L'\0';
    dialog->lpstrFile[name.size() + 1] = L'\0';
    size_t slash = name.find_last_of(L"\\/");
    size_t fileStart = slash == std::wstring::npos ? 0 : slash + 1;
    size_t dot = name.find_last_of(L'.');
    size_t extension = name.size();  // no extension: the terminating zero
    if (dot != std::wstring::npos && dot >= fileStart) extension = dot + 1 == name.size() ? 0 : dot + 1;
    dialog->nFileOffset = static_cast<WORD>(fileStart);
    dialog->nFileExtension = static_cast<WORD>(extension);
    return true;
}

}  // namespace

BOOL AnswerFileDialogRequest(OPENFILENAMEW* dialog, SystemOpenFileNameFn systemOpen) {
    try {
        if (WebViewUnitState* state = FileDialogUnit) {
            std::string name;
            EventOutcome outcome = EventCall(*state, kEventFileDialogRequest).Text(name).Raise();
            bool delivered = outcome.handled && DeliverFileName(dialog, GbkToWide(name));
            // Without a dialog, only a name the caller received counts as
            // chosen; an empty one reads as cancelled.
            if (ReturnedFalse(outcome)) return delivered && !name.empty() ? TRUE : FALSE;
        }
        return systemOpen ? systemOpen(dialog) : FALSE;
    } catch (...) {
        // Called from the dialog's detour, inside the page's own call: nothing may escape.
        return FALSE;
    }
}
