#include "launcher/main_window/page_script.h"

#include <cstdint>
#include <cstdio>

#include "launcher/main_window/main_window.h"
#include "utilities/text_search.h"
#include "webview/commands.h"

std::string RunPageScript(const std::string& script) {
    if (!MainWindow.标签1 || !MainWindow.标签1->Handle()) return {};
    const char* text = script.empty() ? nullptr : script.c_str();
    // The program is 32-bit: an address travels as the event's int.
    int resultAddress = RaiseFeedbackEvent(MainWindow.标签1, (int)(intptr_t)text, 0, true);
    auto* result = reinterpret_cast<std::string*>((intptr_t)resultAddress);
    if (!result) return {};
    std::string copy = *result;
    delete result;
    return copy;
}

int ExecuteScriptOnUiThread(int scriptAddress, int) {
    // Before the page has a view there is nothing to run the script in.
    wkeWebView view = GetWebView(kMainWindowFormId, kPageViewUnitId);
    if (!view) return 0;
    jsExecState state = GlobalExec(view);
    const char* script = reinterpret_cast<const char*>((intptr_t)scriptAddress);
    jsValue value = RunJs(view, script ? script : "");
    auto* result = new std::string(JsValueToText(state, value));
    return (int)(intptr_t)result;
}

std::string ScriptText(const std::string& value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = (unsigned char)value[i];
        if (IsGbkLeadByte(c) && i + 1 < value.size() && IsGbkTrailByte((unsigned char)value[i + 1])) {
            escaped.append(value, i, 2);
            ++i;
            continue;
        }
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case '\'': escaped += "\\'"; break;
            case '"': escaped += "\\\""; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            default:
                // A lead byte without its trail byte would join whatever
                // follows it, an escaping backslash or the closing quote,
                // into one character of code page 936.
                if (c < 0x20 || c == 0x7F || IsGbkLeadByte(c)) {
                    char code[8];
                    snprintf(code, sizeof code, "\\x%02X", c);
                    escaped += code;
                } else {
                    escaped += (char)c;
                }
        }
    }
    return escaped;
}
