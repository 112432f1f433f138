#include "utilities/fatal_exit.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<FatalExitHandler> boundHandler{nullptr};
}  // namespace

void BindFatalExit(FatalExitHandler handler) { boundHandler = handler; }

void RaiseFatalExit(int code) {
    if (FatalExitHandler handler = boundHandler.load()) handler(code);
    ExitProcess((UINT)code);
}
