// Without a page host scripts are not run: each is logged and answered from
// a rule table that a test sets over the control channel (the first rule
// whose pattern occurs in the script gives the value's text; without a match
// the value is "undefined"). A view whose page the host shows runs them in
// the page.
#include "standin.h"

#include <mutex>

namespace standin {

namespace {
std::mutex scriptsMutex;
std::vector<std::pair<std::string, std::string>>& Rules() {
    static std::vector<std::pair<std::string, std::string>> rules;
    return rules;
}
// Value texts, kept for the life of the process so jsToString's result stays valid.
std::vector<std::string>& Values() {
    static std::vector<std::string> values;
    return values;
}
const jsValue kValueTag = 0x7A00000000LL;
}  // namespace

void SetScriptRule(const std::string& pattern, const std::string& answer) {
    std::lock_guard<std::mutex> lock(scriptsMutex);
    Rules().emplace_back(pattern, answer);
}

void ClearScriptRules() {
    std::lock_guard<std::mutex> lock(scriptsMutex);
    Rules().clear();
}

}  // namespace standin

using namespace standin;

extern "C" jsValue WKE_CALL wkeRunJSW(wkeWebView handle, const wchar_t* script) {
    std::string text = WideToUtf8(script);
    std::shared_ptr<View> view = FindView(handle);
    Log("wkeRunJSW " + std::to_string(handle) + " " + LogText(text) + (view ? "" : " unknown-view"));
    // A page of the page host runs the script itself; the wait for it holds no lock.
    bool hosted = view && view->hosted && PageHostConnected();
    std::string answer = hosted ? PageHostEvaluate(handle, text) : "undefined";
    std::lock_guard<std::mutex> lock(scriptsMutex);
    if (!hosted) {
        for (auto& rule : Rules()) {
            if (text.find(rule.first) != std::string::npos) {
                answer = rule.second;
                break;
            }
        }
    }
    if (Values().size() > 100000) Values().clear();
    Values().push_back(answer);
    return kValueTag + (jsValue)Values().size();
}

extern "C" jsExecState WKE_CALL wkeGlobalExec(wkeWebView handle) {
    bool known = FindView(handle) != nullptr;
    Log("wkeGlobalExec " + std::to_string(handle) + (known ? "" : " unknown-view"));
    return known ? 0x30000 + (handle & 0xFFFF) : 0;
}

extern "C" const char* WKE_CALL jsToString(jsExecState es, jsValue value) {
    Log("jsToString " + std::to_string(es) + " " + std::to_string(value));
    std::lock_guard<std::mutex> lock(scriptsMutex);
    jsValue index = value - kValueTag;
    if (index < 1 || index > (jsValue)Values().size()) return "";
    return Values()[(size_t)index - 1].c_str();
}
