// Starting other programs (cmd, 7-Zip, the daemon, the game).
#pragma once

#include <optional>
#include <string>

// Starts commandLine (GBK) as a whole command line, with no application name,
// in folder (the current directory when empty), shown with showMode (an SW_ value; a normal window
// when not given). With wait, returns when the process has ended; without, after
// at most 1000 ms waiting for it to be idle for input. True when it started.
// exitCode, when given with wait, receives the process's exit code.
// waitLimitMs, when given with wait, bounds the wait: a process still
// running then is ended, and exitCode receives a code other than 0.
bool RunCommandLine(const std::string& commandLine, std::optional<int> showMode = std::nullopt, bool wait = false,
                    const std::string& folder = std::string(), unsigned long* exitCode = nullptr,
                    std::optional<unsigned long> waitLimitMs = std::nullopt);
