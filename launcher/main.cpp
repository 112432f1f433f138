// The process entry of launcher.exe.
#include <windows.h>
#include <ole2.h>

#include "launcher/app/program_exit.h"
#include "launcher/app/program_folder.h"
#include "launcher/app/program_start.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
    // Several command lines name helper tools by bare file name.
    SetCurrentDirectoryA(ProgramFolder().c_str());
    // Ends through ExitProcess rather than returning: the static destructors
    // that a return would run could free texts under a worker still running.
    EndProgram(ProgramStart());
}
