// The page's messages are not acted on yet.
#include "launcher/page_actions/page_bridge.h"

void OnPageConsoleMessage(const std::string&) {}
void DispatchPageAction(const std::string&, const std::string&) {}
std::vector<std::string> SplitText(const std::string& text, char) { return {text}; }
std::string UrlDecode(const std::string& text) { return text; }
