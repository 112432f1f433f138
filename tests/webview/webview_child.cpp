// A small program the loading tests start from a temporary folder, so that
// what lies beside it, and the boxes it shows, belong to that folder alone.
//   webview_child view [ENGINE_PATH]   make one web view unit (exit code 7)
//   webview_child exit                 only the end-of-program notice (exit code 7)
#include "webview/engine_loader.h"
#include "webview/webview_unit.h"

#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (std::strcmp(argv[1], "exit") == 0) {
        NotifyProgramEnding();
        return 7;
    }
    if (std::strcmp(argv[1], "view") != 0) return 2;
    if (argc > 2) SetEngineDllPath(argv[2]);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"WebViewChildForm";
    RegisterClassW(&windowClass);
    // Never shown: the unit needs a parent, not a visible one.
    HWND form =
        CreateWindowExW(0, L"WebViewChildForm", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    UnitCreation creation;
    creation.parent = form;
    creation.width = 300;
    creation.height = 200;
    creation.formId = 1;
    creation.unitId = 1;
    HWND unit = CreateWebViewUnit(creation);
    NotifyProgramEnding();
    return unit ? 7 : 3;
}
