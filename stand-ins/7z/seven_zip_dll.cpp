// Present only so that the launcher finds "7z.dll" beside "7z.exe".
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
