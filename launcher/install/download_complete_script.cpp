#include "launcher/install/download_complete_script.h"

#include "utilities/text_search.h"

std::string ScriptFileName(const std::string& name) {
    if (!name.empty() && IsAsciiWord(name, ".-_")) return name;
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

std::string BuildSelfUpdateScript(uint32_t pid, const std::string& exeName) {
    const std::string name = ScriptFileName(exeName);
    // "start" takes a first quoted word as the window title.
    const std::string startTarget = name[0] == '"' ? "\"\" " + name : name;
    // Without /s: del would also remove every file of that name in the
    // sub-folders (the FiveM folder among them).
    return "@echo off\r\n"
           "taskkill /f /PID " +
           std::to_string(pid) +
           "\r\n"
           "ping -n 2 127.0.0.1\r\n"
           "del /q " +
           name +
           "\r\n"
           "move /Y temp-launcher.exe " +
           name +
           "\r\n"
           "start " +
           startTarget +
           "\r\n"
           "del /q %0";
}

std::string BuildUnpackCommandLine(const std::string& archiveName, const std::string& fiveMFolder) {
    return "7z x -aoa " + archiveName + " -o\"" + fiveMFolder + "\\\"";
}

bool IsWindowsExecutableImage(const std::string& bytes) {
    return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}
