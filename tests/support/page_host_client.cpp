#include "support/page_host_client.h"

#include "json/base64.h"
#include "stand-ins/pagehost/line_fields.h"
#include "support/line_channel.h"

namespace testsupport {

namespace {
// A browser start can take a while on a busy machine.
const DWORD kStartLimitMs = 60000;
// A page step (a click, a script) answers within this, or the host is stuck.
const DWORD kCommandLimitMs = 30000;
}  // namespace

PageHost::PageHost() {
    server_ =
        std::make_unique<ScriptServer>("stand-ins/pagehost/pagehost.js --info-file page-host.info --max-seconds 1800",
                                       folder_.Path(), "page-host.info", "node", kStartLimitMs);
    if (Running()) SetEnvironmentVariableA("QM_PAGE_HOST_PORT", std::to_string(port()).c_str());
}

PageHost::~PageHost() {
    SetEnvironmentVariableA("QM_PAGE_HOST_PORT", nullptr);
    server_.reset();
}

std::vector<std::string> PageHost::Command(const std::vector<std::string>& fields) {
    if (!Running()) return {"ERR no page host"};
    std::vector<std::string> lines;
    int hostPort = port();
    WhileServicing([&] { lines = ExchangeLine(hostPort, pagehost::JoinFields(fields), kCommandLimitMs); });
    for (size_t i = 1; i < lines.size(); ++i) lines[i] = pagehost::UnescapeField(lines[i]);
    return lines;
}

std::string PageHost::Value(const std::vector<std::string>& fields) {
    std::vector<std::string> answer = Command(fields);
    return Ok(answer) && answer.size() >= 2 ? answer[1] : std::string();
}

bool PageHost::Click(const std::string& selector) { return Ok(Command({"click", selector})); }
bool PageHost::MouseDown(const std::string& selector) { return Ok(Command({"mousedown", selector})); }
bool PageHost::MouseUp(const std::string& selector) { return Ok(Command({"mouseup", selector})); }
bool PageHost::Type(const std::string& selector, const std::string& text) {
    return Ok(Command({"type", selector, text}));
}
bool PageHost::Exists(const std::string& selector) {
    std::vector<std::string> answer = Command({"exists", selector});
    return !answer.empty() && answer[0] == "OK 1";
}
std::string PageHost::Text(const std::string& selector) { return Value({"text", selector}); }
std::string PageHost::Html(const std::string& selector) { return Value({"html", selector}); }
std::string PageHost::Eval(const std::string& script) { return Value({"eval", script}); }

PageDialog PageHost::Dialog() {
    std::vector<std::string> answer = Command({"dialog"});
    PageDialog dialog;
    if (answer.size() >= 4 && answer[0] == "OK open") {
        dialog.open = true;
        dialog.title = answer[1];
        dialog.text = answer[2];
        dialog.icon = answer[3];
    }
    return dialog;
}

bool PageHost::Screenshot(const std::string& path) {
    std::string png;
    return Base64Decode(Value({"screenshot"}), &png) && !png.empty() && WriteFileBytes(path, png);
}

std::vector<std::string> PageHost::Pages() {
    std::vector<std::string> answer = Command({"pages"});
    if (!Ok(answer)) return {};
    answer.erase(answer.begin());
    return answer;
}

bool PageHost::WaitForPage(const std::string& urlPart, DWORD timeoutMs) {
    return WaitFor(
        [&] {
            for (const std::string& page : Pages()) {
                size_t blank = page.find(' ');
                if (blank == std::string::npos || page.find(urlPart, blank) == std::string::npos) continue;
                if (Value({"@" + page.substr(0, blank), "eval", "document.readyState"}) == "complete") return true;
            }
            return false;
        },
        timeoutMs);
}

bool PageHost::WaitForText(const std::string& selector, const std::string& expected, DWORD timeoutMs) {
    return WaitFor([&] { return Text(selector) == expected; }, timeoutMs);
}

bool PageHost::WaitForDialog(bool open, DWORD timeoutMs) {
    return WaitFor([&] { return Dialog().open == open; }, timeoutMs);
}

}  // namespace testsupport
