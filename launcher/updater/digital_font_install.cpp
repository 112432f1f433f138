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
// How often the registration was taken back, under registeredLock: a count
// that moved while the installer waited means its window went meanwhile.
unsigned removals = 0;

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
    unsigned removalsBefore;
    {
        std::lock_guard<std::mutex> lock(registeredLock);
        removalsBefore = removals;
    }
    BusyDelay(kStartDelayMs);
    {
        // Checked and registered under the lock the removal takes: once the
        // window's removal has run, a registration would outlive the program.
        std::lock_guard<std::mutex> lock(registeredLock);
        if (!StartupWindow.Handle() || removals != removalsBefore) return;
        const std::string path = DigitalFontPath();
        if (!FileExists(path)) WriteCarriedFont(path);
        if (AddFontFile(path) == 0) {
            // A file left half-written by an earlier run would keep the speed
            // line in its own font for ever: write it once more.
            WriteCarriedFont(path);
            if (AddFontFile(path) == 0) return;
        }
        registeredPath = path;
    }
    // Outside the lock: the label takes its font on the UI thread, which may
    // be waiting for the lock in the removal.
    StartupWindow.下载速度->SetFont(kDigitalFontFace, kSpeedLineFontHeight);
}

void RemoveDigitalFont() {
    std::string path;
    {
        std::lock_guard<std::mutex> lock(registeredLock);
        ++removals;
        path.swap(registeredPath);
    }
    RemoveFontFile(path.empty() ? DigitalFontPath() : path);
}
