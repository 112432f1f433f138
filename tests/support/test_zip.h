// Builds zip archives for tests.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ZipEntry {
    std::string name;  // "/" separates folders; a name ending in "/" is a folder
    std::string content;
};

// Writes a deflated archive; utf8Names sets the UTF-8 name flag on every entry.
bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries, bool utf8Names = false);

}  // namespace testsupport
