// test_driver.exe: drives another program's windows as a user would, for the
// GUI tests. It runs under the same wineserver as the program it drives.
//
//   test_driver COMMAND [--pid N] [--title T] [--class C] [--timeout MS]
//               [--child TEXT | --at X,Y | --child-class C [--index N]] [--text T] [--file F]
//
// Commands:
//   find      prints "hwnd visible left top width height title" of the window
//             (tab-separated, screen coordinates)
//   children  lists every child window of the window, one per line:
//             hwnd parent class visible enabled left top width height text
//             (tab-separated; position relative to the direct parent's client
//             area; visibility and enabled state are the child's own)
//   msgbox    prints the title and the text of the message box, one per line
//   press-ok  presses the message box's OK button
//   click     clicks a child button (refused when hidden or disabled)
//   type      types --text into a child edit control, character by character
//   close     asks the window to close
//   capture   writes the window's screen image to --file as a BMP
//
// The window is the first top-level window that matches every given filter
// (the message box commands look for class "#32770"). With --timeout the
// driver polls until it appears. Texts are GBK; control bytes in printed
// texts are written as \xNN. Exit code 0 on success, 1 when the window or
// child is not found, 2 on bad arguments, 3 when a control refuses input.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "utilities/win_handles.h"

namespace {

struct Options {
    std::string command;
    bool messageBox = false;  // only a message box that is fully up counts
    DWORD pid = 0;
    bool hasPid = false;
    std::string title, className;
    bool hasTitle = false, hasClass = false;
    DWORD timeout = 0;
    std::string child, childClass, text, file;
    bool hasChild = false, hasChildClass = false, hasAt = false;
    int index = 0;
    POINT at{};
};

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(length + 2);
    int got = GetWindowTextA(hwnd, buffer.data(), (int)buffer.size());
    return std::string(buffer.data(), got > 0 ? got : 0);
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20) {
            char esc[8];
            snprintf(esc, sizeof esc, "\\x%02X", c);
            out += esc;
        } else {
            out += (char)c;
        }
    }
    return out;
}

struct Search {
    const Options* options;
    HWND found = nullptr;
};

bool Matches(HWND hwnd, const Options& o) {
    if (o.hasPid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != o.pid) return false;
    }
    if (o.hasClass && ClassOf(hwnd) != o.className) return false;
    if (o.hasTitle && WindowText(hwnd) != o.title) return false;
    // A message box is found before its controls exist; it is shown once
    // they do.
    if (o.messageBox && (!IsWindowVisible(hwnd) || !GetDlgItem(hwnd, 0xFFFF))) return false;
    return true;
}

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!Matches(hwnd, *search->options)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindWindowPolling(const Options& o) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{&o};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start >= o.timeout) return nullptr;
        Sleep(25);
    }
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

RECT RectInParent(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool OwnVisible(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// With --at, pointInChild receives the point in the found child's client area.
HWND FindChild(HWND window, const Options& o, POINT* pointInChild) {
    if (o.hasAt) {
        // The deepest visible child under the point, as a mouse click would find it.
        HWND current = window;
        POINT pt = o.at;
        for (;;) {
            HWND next = ChildWindowFromPointEx(current, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!next || next == current) break;
            MapWindowPoints(current, next, &pt, 1);
            current = next;
        }
        *pointInChild = pt;
        return current == window ? nullptr : current;
    }
    int seen = 0;
    for (HWND child : Children(window)) {
        if (o.hasChild && WindowText(child) != o.child) continue;
        if (o.hasChildClass && _stricmp(ClassOf(child).c_str(), o.childClass.c_str()) != 0) continue;
        if (seen++ == o.index) return child;
    }
    return nullptr;
}

int ListChildren(HWND window) {
    for (HWND child : Children(window)) {
        RECT r = RectInParent(child);
        printf("%p\t%p\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", (void*)child, (void*)GetParent(child),
               ClassOf(child).c_str(), OwnVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0, r.left, r.top,
               r.right - r.left, r.bottom - r.top, Printable(WindowText(child)).c_str());
    }
    return 0;
}

int ReadMessageBox(HWND box) {
    std::string text;
    for (HWND child : Children(box)) {
        // The message text is the static control with id 0xFFFF.
        if (GetDlgCtrlID(child) == 0xFFFF && _stricmp(ClassOf(child).c_str(), "Static") == 0) {
            text = WindowText(child);
            break;
        }
    }
    printf("%s\n%s\n", Printable(WindowText(box)).c_str(), Printable(text).c_str());
    return 0;
}

int PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) return 1;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return 0;
}

// A button is pressed as such; any other child gets the mouse at point, or at its centre.
int Click(HWND child, const POINT* point) {
    if (!OwnVisible(child) || !IsWindowVisible(child) || !IsWindowEnabled(child)) return 3;
    if (_stricmp(ClassOf(child).c_str(), "Button") == 0) {
        // Posted: the click handler may open a modal box and not return.
        PostMessageA(child, BM_CLICK, 0, 0);
        return 0;
    }
    RECT client{};
    GetClientRect(child, &client);
    LPARAM at = point ? MAKELPARAM(point->x, point->y) : MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(child, WM_LBUTTONUP, 0, at);
    return 0;
}

int Type(HWND edit, const std::string& text) {
    if (!IsWindowEnabled(edit)) return 3;
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), &wide[0], n);
    for (wchar_t c : wide) SendMessageW(edit, WM_CHAR, (WPARAM)c, 1);
    return 0;
}

// The screen's device context for one scope.
struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ScreenDc() = default;
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

// A memory device context compatible with another, for one scope.
struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc) DeleteDC(dc);
    }
};

int Capture(HWND window, const std::string& file) {
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    ScreenDc screen;
    MemoryDc memory(screen.dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.Get()) return 3;
    {
        ScopedSelect select(memory.dc, bitmap.Get());
        BitBlt(memory.dc, 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY);
    }
    DWORD stride = ((width * 3 + 3) / 4) * 4, size = stride * height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + size;
    FILE* out = fopen(file.c_str(), "wb");
    bool ok = out && fwrite(&header, sizeof header, 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 && fwrite(bits, 1, size, out) == size;
    if (out) fclose(out);
    return ok ? 0 : 3;
}

bool ParseOptions(int argc, char** argv, Options* o) {
    if (argc < 2) return false;
    o->command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string name = argv[i];
        if (i + 1 >= argc) return false;
        std::string value = argv[++i];
        if (name == "--pid") {
            o->pid = strtoul(value.c_str(), nullptr, 10);
            o->hasPid = true;
        } else if (name == "--title") {
            o->title = value;
            o->hasTitle = true;
        } else if (name == "--class") {
            o->className = value;
            o->hasClass = true;
        } else if (name == "--timeout") {
            o->timeout = strtoul(value.c_str(), nullptr, 10);
        } else if (name == "--child") {
            o->child = value;
            o->hasChild = true;
        } else if (name == "--child-class") {
            o->childClass = value;
            o->hasChildClass = true;
        } else if (name == "--index") {
            o->index = atoi(value.c_str());
        } else if (name == "--at") {
            if (sscanf(value.c_str(), "%ld,%ld", &o->at.x, &o->at.y) != 2) return false;
            o->hasAt = true;
        } else if (name == "--text") {
            o->text = value;
        } else if (name == "--file") {
            o->file = value;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    Options o;
    if (!ParseOptions(argc, argv, &o)) {
        fprintf(stderr, "usage: test_driver COMMAND [options] (see driver.cpp)\n");
        return 2;
    }
    bool boxCommand = o.command == "msgbox" || o.command == "press-ok";
    if (boxCommand) {
        o.messageBox = true;
        if (!o.hasClass) {
            o.className = "#32770";
            o.hasClass = true;
        }
    }
    HWND window = FindWindowPolling(o);
    if (!window) return 1;

    int code = 2;
    if (o.command == "find") {
        RECT r{};
        GetWindowRect(window, &r);
        printf("%p\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", (void*)window, IsWindowVisible(window) ? 1 : 0, r.left, r.top,
               r.right - r.left, r.bottom - r.top, Printable(WindowText(window)).c_str());
        code = 0;
    } else if (o.command == "children") {
        code = ListChildren(window);
    } else if (o.command == "msgbox") {
        code = ReadMessageBox(window);
    } else if (o.command == "press-ok") {
        code = PressOk(window);
    } else if (o.command == "click" || o.command == "type") {
        if (!o.hasChild && !o.hasChildClass && !o.hasAt) return 2;
        POINT inChild{};
        HWND child = FindChild(window, o, &inChild);
        if (!child) return 1;
        code = o.command == "click" ? Click(child, o.hasAt ? &inChild : nullptr) : Type(child, o.text);
    } else if (o.command == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        code = 0;
    } else if (o.command == "capture") {
        code = o.file.empty() ? 2 : Capture(window, o.file);
    }
    fflush(stdout);
    return code;
}
