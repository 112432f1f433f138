// Stand-in for the game client, a Windows program so that it shows in the
// process list while it "runs". Beside itself it keeps:
//   FiveM.command-lines.txt  every command line it was started with, one a line;
//   FiveM.crash-hash.txt     when a test or a person writes this, the game
//                            "crashes": on quitting it writes a log naming that
//                            hash into FiveM.app\logs, as the real client does.
// Its window is titled "FiveM - ADDRESS" after the "+connect" argument and
// stays until it is closed (by a person, or WM_CLOSE from a test).
#include <windows.h>

#include <string>

namespace {

std::string folder;   // of FiveM.exe, with a trailing "\"
std::string address;  // the word after "+connect"; empty without one

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

std::string ConnectAddress(const std::string& commandLine) {
    size_t at = commandLine.find("+connect");
    if (at == std::string::npos) return {};
    at = commandLine.find_first_not_of(' ', at + 8);
    if (at == std::string::npos) return {};
    return commandLine.substr(at, commandLine.find(' ', at) - at);
}

std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char buffer[512];
    DWORD got = 0;
    std::string text;
    if (ReadFile(file, buffer, sizeof buffer, &got, nullptr)) text.assign(buffer, got);
    CloseHandle(file);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text, bool append) {
    HANDLE file = CreateFileA(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(file);
}

// The real client's log: one file a run, named by its start time.
void WriteCrashLog(const std::string& hash) {
    const std::string logs = folder + "FiveM.app\\logs\\";
    CreateDirectoryA((folder + "FiveM.app").c_str(), nullptr);
    CreateDirectoryA(logs.c_str(), nullptr);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[64];
    wsprintfA(name, "CitizenFX_log_%04d-%02d-%02dT%02d%02d%02d.log", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    WriteFileText(logs + name,
                  "[    1000] CitizenFX: connecting to " + address + "\r\n[   60000] Legacy crash hash: " + hash +
                      "\r\n[   60001] Shutting down.\r\n",
                  false);
}

LRESULT CALLBACK FiveMWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT area;
        GetClientRect(hwnd, &area);
        const std::string text = "Playing on " + (address.empty() ? std::string("no server") : address) +
                                 ".\nClose this window to end the game.";
        DrawTextA(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (msg == WM_DESTROY) {
        // Trailing line breaks are the editor's, not the hash's.
        std::string hash = ReadFileText(folder + "FiveM.crash-hash.txt");
        while (!hash.empty() && (hash.back() == '\n' || hash.back() == '\r')) hash.pop_back();
        if (!hash.empty()) WriteCrashLog(hash);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    folder = ProgramFolder();
    const std::string commandLine = GetCommandLineA();
    WriteFileText(folder + "FiveM.command-lines.txt", commandLine + "\r\n", true);
    address = ConnectAddress(commandLine);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FiveMWindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "FiveMStandIn";
    RegisterClassA(&wc);
    const std::string title = address.empty() ? "FiveM" : "FiveM - " + address;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 200, 200, 400, 200, nullptr,
                                nullptr, instance, nullptr);
    // The launcher starts the game hidden through the command interpreter; the
    // game shows itself all the same. Not activated: under a bare X server
    // Wine waits about 2 s when an active window goes away.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
