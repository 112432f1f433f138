// The web view unit's own properties (numbers 8 to 16): what a write does to
// the unit and its engine view, and what a read gives back.
#pragma once

#include "webview/unit_state.h"

#include <string>

enum UnitPropertyNumber : int {
    kPropertyUrl = 8,
    kPropertyTitle = 9,
    kPropertyNoF5Reload = 10,
    kPropertyCookieEnabled = 11,
    kPropertyCacheFolder = 12,
    kPropertyCookieFolder = 13,
    kPropertyUserAgent = 14,
    kPropertyLiveInDesigner = 15,
    kPropertyAllowNewWindows = 16,
};

// A property value: texts are GBK; integers and truth values use number.
struct PropertyValue {
    int32_t number = 0;
    std::string text;
};

// Applies a write. Answers false ("nothing else to refresh"), as the host expects.
bool WriteUnitProperty(WebViewUnitState& state, int number, const PropertyValue& value);

// Reads a property back. False for an unknown number, and for LiveInDesigner,
// whose read reports failure although it supplies the value.
bool ReadUnitProperty(const WebViewUnitState& state, int number, PropertyValue& value);

// The agent string of a pick-list label; any other text is itself the agent string.
std::string AgentStringOfLabel(const std::string& label);

// A folder property's stored form: relative texts are put behind the base
// folder, and the text ends with "\". An empty text stays empty.
std::string NormaliseFolder(const std::string& text, const std::string& baseFolder);
