// The web view library's commands: network jobs (SpecialFunction), scripts
// (Javascript) and the unit commands. Each is one engine call; the engine
// path command is SetEngineDllPath (engine_loader.h).
#pragma once

#include "webview/engine_boundary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// SpecialFunction: valid only inside the LoadUrlBegin/LoadUrlEnd event that reported the job.
void NetHookRequest(wkeNetJob job);
// Answers the job with data; a given length is clamped to the data.
void NetSetData(wkeNetJob job, const std::string& data, std::optional<int> length = std::nullopt);
void NetCancelRequest(wkeNetJob job);
// The response headers, name and value alternating, unconverted; empty when there is no head.
std::vector<std::string> NetGetRawResponseHead(wkeNetJob job);

// Javascript. View 0 gives 0 without asking the engine.
jsExecState GlobalExec(wkeWebView view);
jsValue RunJs(wkeWebView view, const std::string& script);
// The value's text as the engine's UTF-8 bytes, unconverted.
std::string JsValueToText(jsExecState state, jsValue value);

// Unit commands: the unit named by form and unit id. 0 / nothing when there is none.
wkeWebView GetWebView(uint32_t formId, uint32_t unitId);
void LoadUrl(uint32_t formId, uint32_t unitId, const std::string& url);
