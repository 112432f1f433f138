// The daemon replies captured from a real aria2c 1.36 (tests/json/data).
#pragma once

#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace jsontest {

// The bytes of a data file, without the line break an editor may add; empty
// when the file cannot be read.
inline std::string ReadDataFile(const std::string& name) {
    const char* root = getenv("QM_SOURCE_DIR");
    std::string path = root ? std::string(root) + "/tests/json/data/" + name : "tests/json/data/" + name;
    std::string bytes = testsupport::ReadFileBytes(testsupport::WindowsPath(path));
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
    return bytes;
}

}  // namespace jsontest
