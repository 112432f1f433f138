#include "launcher/ui/guarded_call.h"

#include "launcher/launcher_texts.h"
#include "launcher/message_box.h"
#include "launcher/program_exit.h"

void EndAfterRuntimeError() {
    // "运行时出错!"
    ShowMessageBox("\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!", kErrorTitle, MB_OK | MB_ICONERROR);
    EndProgram(0);
}
