#include "utilities/guarded_call.h"

#include "utilities/fatal_exit.h"
#include "utilities/message_box.h"

void EndAfterRuntimeError() {
    // "运行时出错!", "错误"
    ShowMessageBox("\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!", "\xB4\xED\xCE\xF3", MB_OK | MB_ICONERROR);
    RaiseFatalExit(0);
}
