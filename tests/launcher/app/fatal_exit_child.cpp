// A program that ends the way the launcher ends after a failure: it sets up
// the launcher's exit routine and fatal end, shows a top-most window as the
// updater window does, and then fails in the way its argument names.
//   fatal_exit_child worker|notification|handler|export
// Every run of the exit routine adds a line to "exit-routine.txt".
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "download/notifications.h"
#include "launcher/app/globals.h"
#include "launcher/app/program_exit.h"
#include "launcher/app/worker_thread.h"
#include "utilities/fatal_exit.h"
#include "utilities/whole_file.h"
#include "webview/engine_loader.h"
#include "webview/unit_events.h"

namespace {

void CountedExitRoutine() {
    std::string count = ReadWholeFile("exit-routine.txt");
    WriteWholeFile("exit-routine.txt", count + "ran\n");
    ReleaseGlobals();
}

void ThrowingStep() { throw std::runtime_error("flow step"); }

void ThrowingCallback(const std::string&) { throw std::runtime_error("completion"); }

// One unmasked text frame, as the daemon sends it.
std::string TextFrame(const std::string& payload) {
    return std::string("\x81", 1) + static_cast<char>(payload.size()) + payload;
}

void ShowTopMostWindow() {
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "fatal exit child", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    CreateGlobals();
    RegisterExitRoutine(CountedExitRoutine);
    BindFatalExit(EndAfterFatalError);
    ShowTopMostWindow();
    const std::string mode = argv[1];
    if (mode == "worker") {
        StartWorkerThread(ThrowingStep);
    } else if (mode == "notification") {
        NotificationCallbacks[NotificationSlot("aria2.onDownloadComplete")] = ThrowingCallback;
        WebSocketFrameReader reader;
        DispatchNotifications(reader, TextFrame(R"({"jsonrpc":"2.0","method":"aria2.onDownloadComplete",)"
                                                R"("params":[{"gid":"2089b05ecca3d829"}]})"));
    } else if (mode == "handler") {
        BindUnitEvent(1, 1, 7, [](UnitEvent&) -> std::optional<int> { throw std::runtime_error("handler"); });
        UnitEvent event;
        event.formId = 1;
        event.unitId = 1;
        event.number = 7;
        RaiseUnitEvent(event);
    } else if (mode == "export") {
        SetEngineDllPath("node.dll");
        ResolveEngineExport("qmNoSuchExport");
    } else {
        return 2;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 3;
}
