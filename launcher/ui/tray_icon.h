// A window's icon in the notification area and the pop-up menu it opens.
// The shell reports clicks on the icon as a private message to the window;
// the window's message hook hands that message to HandleMessage.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The message the shell sends about the icon: lParam is the mouse message.
constexpr UINT kTrayMessage = WM_APP + 0x120;
// Menu item i is reported as WM_COMMAND with this id plus i.
constexpr UINT kTrayMenuFirstId = 0x7100;

class TrayIcon {
public:
    TrayIcon(std::string menuCaption, std::vector<std::string> items)
        : menuCaption_(std::move(menuCaption)), items_(std::move(items)) {}
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon for window, or sets icon and tip again when it is there
    // (the tip is cut to 62 bytes). Any thread.
    bool Show(HWND window, HICON icon, const std::string& tip);
    // Takes the icon away; nothing happens when there is none. Any thread.
    void Remove();

    // Click on the icon: 1 left button released, 2 left double click, 3 right
    // button released or context menu. Other notifications raise nothing.
    std::function<void(int kind)> Clicked;
    // A menu item was chosen: its index.
    std::function<void(int item)> ItemSelected;

    // Pops the menu up at the cursor. UI thread.
    void PopUpMenu();

    // For the window's message hook: true when msg was the icon's or the menu's.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    std::string menuCaption_;
    std::vector<std::string> items_;
    HWND window_ = nullptr;
};
