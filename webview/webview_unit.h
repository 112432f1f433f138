// The web view unit type "webkit" (岚石Web浏览器) as the host framework sees
// it: creation from saved data, property access, saving, and the sizing
// query. A unit's handle is its host window.
#pragma once

#include "webview/unit_properties.h"
#include "webview/unit_state.h"

#include <cstddef>

struct UnitCreation {
    const void* savedData = nullptr;
    size_t savedLength = 0;
    DWORD style = 0;
    HWND parent = nullptr;
    UINT controlId = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    uint32_t formId = 0;
    uint32_t unitId = 0;
    bool inDesigner = false;
};

// Creates a unit: reads the saved data, makes the host window and its view,
// registers the unit and applies the saved properties. Null on failure (a
// newer saved format, or no window or view); nothing is left behind then.
HWND CreateWebViewUnit(const UnitCreation& creation);

// The state object of a unit, or null.
WebViewUnitState* StateOfUnit(HWND unit);

// Property access through the unit handle; false for an unknown unit.
bool WriteWebViewProperty(HWND unit, int number, const PropertyValue& value);
bool ReadWebViewProperty(HWND unit, int number, PropertyValue& value);

// All property data of a unit (saved format, version 1) in a movable memory
// block the caller frees. Throws std::bad_alloc when memory runs out.
HGLOBAL SaveWebViewProperties(HWND unit, size_t* length);

// The sizing query: index 0 gives the unit's default size (200 by 100).
bool WebViewSizingQuery(int index, int* width, int* height);

// "May a property be edited now": every property, always.
bool WebViewPropertyEditable(HWND unit, int number);

// The customise dialog's set-up: finds the unit's state, changes nothing and
// answers no (the unit has no dialog of its own).
bool WebViewCustomizeDialogSetup(HWND unit);
