// Starting an outside program from a command line.
#pragma once

#include <string>

// CreateProcessA with commandLine as the whole command line (no application
// name), the window hidden, no handles inherited, in folder (the caller's
// current directory when empty). Waits at most 1000 ms for the new process
// to become idle for input, not for its end. True when the process started.
bool StartHiddenProcess(const std::string& commandLine, const std::string& folder = std::string());
