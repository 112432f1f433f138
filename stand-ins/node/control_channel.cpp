// The control channel: a line protocol on 127.0.0.1 through which a test
// plays the page and the user. Each request is one UTF-8 line; the answer is
// "OK ..." or "ERR ...", possibly followed by more lines, and ends with a
// line holding a single ".".
//
//   log | clearlog | views | failcreate | forgetinit | jsrule PATTERN<TAB>ANSWER | jsclear
//   [@VIEW] console LEVEL TEXT | alert TEXT | confirm TEXT | prompt TEXT<TAB>DEFAULT
//   [@VIEW] navigate URL | newwindow URL [X Y W H] | download URL | mouseover URL
//   [@VIEW] send MESSAGE WPARAM LPARAM | click X Y | dblclick X Y | close | state
//   [@VIEW] choosefile    (a file input: GetOpenFileNameW titled "Stand-in file input";
//                          answers "OK RESULT FILE-OFFSET EXTENSION-OFFSET NAME")
//
// Without @VIEW a command goes to the newest control view that still has its
// window. Callbacks always run on the thread that made the view.
#include <winsock2.h>

#include <commdlg.h>
#include "standin.h"

#include <sstream>
#include <thread>

namespace standin {

namespace {

std::shared_ptr<View> DefaultView() {
    std::vector<std::shared_ptr<View>> views = AllViews();
    for (auto it = views.rbegin(); it != views.rend(); ++it)
        if ((*it)->type == WKE_WINDOW_TYPE_CONTROL && (*it)->window) return *it;
    return views.empty() ? nullptr : views.back();
}

std::string Answer(bool value) { return value ? "OK 1" : "OK 0"; }

std::string Rest(std::istringstream& in) {
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
    return rest;
}

std::pair<std::string, std::string> SplitTab(const std::string& text) {
    size_t tab = text.find('\t');
    if (tab == std::string::npos) return {text, ""};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

std::string ViewCommand(const std::shared_ptr<View>& view, const std::string& command, std::istringstream& in) {
    std::string reply = "OK";
    // The work below runs later, through RunOnViewThread; everything it
    // reads lives at this scope.
    std::function<void()> work;
    int level = 0;
    std::string text, url;
    std::pair<std::string, std::string> parts;
    wkeWindowFeatures features = {100, 100, 640, 480};
    unsigned message = 0;
    unsigned long long wParam = 0;
    long long lParam = 0;
    if (command == "console") {
        in >> level;
        text = Rest(in);
        work = [&]() {
            DeliverConsole(*view, level, text, "stand-in://console", 1);
            RepaintView(*view);
        };
    } else if (command == "alert") {
        text = Rest(in);
        work = [&]() {
            if (!view->callbacks.alert) return;
            ScopedEngineString message(text);
            view->callbacks.alert(view->handle, view->callbacks.alertParam, message.handle());
        };
    } else if (command == "confirm") {
        text = Rest(in);
        work = [&]() {
            bool answer = false;  // an engine without a handler shows nothing and reads "cancel"
            if (view->callbacks.confirm) {
                ScopedEngineString message(text);
                answer = view->callbacks.confirm(view->handle, view->callbacks.confirmParam, message.handle());
            }
            reply = Answer(answer);
        };
    } else if (command == "prompt") {
        parts = SplitTab(Rest(in));
        work = [&]() {
            bool answer = false;
            if (view->callbacks.prompt) {
                ScopedEngineString message(parts.first), defaultText(parts.second), result("");
                answer = view->callbacks.prompt(view->handle, view->callbacks.promptParam, message.handle(),
                                                defaultText.handle(), result.handle());
            }
            reply = Answer(answer);
        };
    } else if (command == "navigate") {
        url = Rest(in);
        work = [&]() { RunLoad(*view, url, WKE_NAVIGATION_TYPE_LINKCLICK); };
    } else if (command == "newwindow") {
        in >> url >> features.x >> features.y >> features.width >> features.height;
        work = [&]() {
            wkeWebView created = 0;
            if (view->callbacks.createView) {
                ScopedEngineString urlString(url);
                created = view->callbacks.createView(view->handle, view->callbacks.createViewParam,
                                                     WKE_NAVIGATION_TYPE_LINKCLICK, urlString.handle(), &features);
            }
            Log("newwindow " + std::to_string(view->handle) + " answer=" + std::to_string(created));
            if (created && FindView(created)) QueueLoad(created, url, WKE_NAVIGATION_TYPE_LINKCLICK);
            reply = "OK " + std::to_string(created);
        };
    } else if (command == "download") {
        url = Rest(in);
        work = [&]() {
            bool answer = false;
            if (view->callbacks.download)
                answer = view->callbacks.download(view->handle, view->callbacks.downloadParam, url.c_str());
            reply = Answer(answer);
        };
    } else if (command == "mouseover") {
        url = Rest(in);
        work = [&]() {
            if (!view->callbacks.mouseOver) return;
            ScopedEngineString urlString(url);
            view->callbacks.mouseOver(view->handle, view->callbacks.mouseOverParam, urlString.handle());
        };
    } else if (command == "send") {
        in >> message >> wParam >> lParam;
        work = [&]() {
            if (!view->window) {
                reply = "ERR no window";
                return;
            }
            LRESULT result = SendMessageW(view->window, message, (WPARAM)wParam, (LPARAM)lParam);
            reply = "OK " + std::to_string((long long)result);
        };
    } else if (command == "click" || command == "dblclick") {
        int x = 0, y = 0;
        in >> x >> y;
        HWND window = view->window;
        if (!window) return "ERR no window";
        // Real input: the system, not the engine, decides whether two clicks make a double click.
        bool sent = SendRealClicks(window, x, y, command == "dblclick" ? 2 : 1);
        return sent ? "OK" : "ERR input refused";
    } else if (command == "close") {
        work = [&]() {
            if (view->window) PostMessageW(view->window, WM_CLOSE, 0, 0);
        };
    } else if (command == "choosefile") {
        work = [&]() {
            wchar_t name[MAX_PATH] = L"";
            OPENFILENAMEW dialog = {};
            dialog.lStructSize = sizeof dialog;
            dialog.hwndOwner = view->window;
            dialog.lpstrFile = name;
            dialog.nMaxFile = MAX_PATH;
            dialog.lpstrTitle = L"Stand-in file input";
            dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
            BOOL chosen = GetOpenFileNameW(&dialog);
            reply = "OK " + std::to_string(chosen) + " " + std::to_string(dialog.nFileOffset) + " " +
                    std::to_string(dialog.nFileExtension) + " " + LogText(WideToUtf8(name));
        };
    } else if (command == "state") {
        work = [&]() {
            reply = "OK\nurl " + LogText(view->url) + "\ntitle " + LogText(view->title) + "\nconsole " +
                    LogText(view->lastConsole) + "\nwindow " +
                    std::to_string(reinterpret_cast<uintptr_t>(view->window));
        };
    } else {
        return "ERR unknown command " + command;
    }
    if (!RunOnViewThread(view, work)) return "ERR view thread did not answer";
    return reply;
}

}  // namespace

std::string HandleControlCommand(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "log") {
        std::string reply = "OK";
        for (const std::string& entry : LogLines()) reply += "\n" + entry;
        return reply;
    }
    if (command == "clearlog") {
        ClearLog();
        return "OK";
    }
    if (command == "views") {
        std::string reply = "OK";
        for (auto& view : AllViews())
            reply += "\n" + std::to_string(view->handle) + " " + std::to_string(view->type) + " " +
                     std::to_string(reinterpret_cast<uintptr_t>(view->window));
        return reply;
    }
    if (command == "failcreate") {
        FailNextViewCreation();
        return "OK";
    }
    if (command == "forgetinit") {
        ForgetInitialisation();
        return "OK";
    }
    if (command == "jsrule") {
        auto rule = SplitTab(Rest(in));
        SetScriptRule(rule.first, rule.second);
        return "OK";
    }
    if (command == "jsclear") {
        ClearScriptRules();
        return "OK";
    }
    std::shared_ptr<View> view;
    if (!command.empty() && command[0] == '@') {
        view = FindView(static_cast<wkeWebView>(strtoul(command.c_str() + 1, nullptr, 10)));
        in >> command;
    } else {
        view = DefaultView();
    }
    if (!view) return "ERR no such view";
    return ViewCommand(view, command, in);
}

namespace {

void ServeConnection(SOCKET connection) {
    ReadLines(connection, [connection](const std::string& line) {
        std::string reply;
        try {
            reply = HandleControlCommand(line) + "\n.\n";
        } catch (...) {
            reply = "ERR internal\n.\n";
        }
        return SendAll(connection, reply);
    });
}

void ServeChannel(SOCKET listener) {
    for (;;) {
        SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) return;
        ServeConnection(connection);
        closesocket(connection);
    }
}

}  // namespace

void StartControlChannel() {
    static bool started = false;
    if (started) return;
    started = true;
    int port = PortFromEnvironment(ENGINE_CONTROL_PORT_VARIABLE);
    if (!port) return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return;
    sockaddr_in address = LoopbackAddress(port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0) {
        Log("control channel: port " + std::to_string(port) + " unavailable");
        closesocket(listener);
        return;
    }
    Log("control channel on port " + std::to_string(port));
    std::thread([listener]() {
        try {
            ServeChannel(listener);
        } catch (...) {
        }
    }).detach();
}

}  // namespace standin
