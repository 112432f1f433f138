#include "launcher/updater/digital_font_install.h"

#include <windows.h>

#include <mutex>

#include "assets/digital_font.h"
#include "launcher/app/globals.h"
#include "launcher/updater/startup_window.h"
#include "utilities/busy_delay.h"
#include "utilities/path_helpers.h"
#include "utilities/whole_file.h"

namespace {

constexpr int kStartDelayMs = 2000;

// The file the system holds registered: the FiveM folder can change after
// the font went in (the user picks another), and the registration of the
// first file must still be taken back.
std::mutex registeredLock;
std::string registeredPath;

void WriteCarriedFont(const std::string& path) {
    std::string_view font = DigitalFontData();
    WriteWholeFile(path, font.data(), font.size());
}

}  // namespace

std::string DigitalFontPath() { return FiveMFolder + "\\launcher_cache\\font-digtal.ttf"; }

int AddFontFile(const std::string& path) {
    int added = AddFontResourceA(path.c_str());
    PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    return added;
}

int RemoveFontFile(const std::string& path) {
    int removed = RemoveFontResourceA(path.c_str());
    PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    return removed;
}

void InstallDigitalFont() {
    BusyDelay(kStartDelayMs);
    // The window's removal of the font has run already: a registration now
    // would outlive the program, and the label is gone.
    if (!StartupWindow.Handle()) return;
    const std::string path = DigitalFontPath();
    if (!FileExists(path)) WriteCarriedFont(path);
    if (AddFontFile(path) == 0) {
        // A file left half-written by an earlier run would keep the speed
        // line in its own font for ever: write it once more.
        WriteCarriedFont(path);
        if (AddFontFile(path) == 0) return;
    }
    {
        std::lock_guard<std::mutex> lock(registeredLock);
        registeredPath = path;
    }
    StartupWindow.下载速度->SetFont(kDigitalFontFace, kSpeedLineFontHeight);
}

void RemoveDigitalFont() {
    std::string path;
    {
        std::lock_guard<std::mutex> lock(registeredLock);
        path.swap(registeredPath);
    }
    RemoveFontFile(path.empty() ? DigitalFontPath() : path);
}
