// The saved property data of a web view unit (format version 1), as the
// form designer stores it and hands it back at creation. Little-endian:
// version, no-F5-reload, cookies-enabled (32-bit each), then url, cache
// folder, cookie folder and agent string (GBK, each ending with a zero
// byte), then allow-new-windows (32-bit). LiveInDesigner is not saved.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct SavedUnitProperties {
    uint32_t version = 0;
    uint32_t noF5Reload = 0;
    uint32_t cookieEnabled = 0;
    std::string url;
    std::string cacheFolder;
    std::string cookieFolder;
    std::string userAgent;
    uint32_t allowNewWindows = 0;
};

// Reads saved data. Fields the data is too short for read as 0 or empty; a
// text without its zero byte ends at the end of the data. False for a
// format newer than version 1.
bool ReadSavedProperties(const void* data, size_t length, SavedUnitProperties& properties);

// The saved bytes of the properties (version 1).
std::string WriteSavedProperties(const SavedUnitProperties& properties);

// The saved bytes in a movable global memory block for the host, with their
// length. Throws std::bad_alloc when the block cannot be had.
HGLOBAL SavedPropertiesBlock(const SavedUnitProperties& properties, size_t* length);
