#include "standin.h"

#include <mutex>

namespace standin {

namespace {
std::mutex logMutex;
std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
}
}  // namespace

void Log(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex);
    // A runaway page must not eat the test machine's memory.
    if (Lines().size() < 100000) Lines().push_back(line);
}

std::vector<std::string> LogLines() {
    std::lock_guard<std::mutex> lock(logMutex);
    return Lines();
}

void ClearLog() {
    std::lock_guard<std::mutex> lock(logMutex);
    Lines().clear();
}

std::string LogText(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

}  // namespace standin
