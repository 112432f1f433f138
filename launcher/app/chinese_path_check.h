// The launcher refuses to run from a folder whose path holds Chinese
// characters: the daemon, 7-Zip and the command lines of the flows do not
// survive them.
#pragma once

#include <string_view>

// True when path holds a character from U+4E00 to U+9FA5.
bool PathHasChineseChar(std::wstring_view path);

// The program folder, read as UTF-16. Read through the ANSI code page, as
// before, a system whose code page is not 936 turns these characters into "?"
// before the test sees them, and the check passes.
bool ProgramFolderHasChineseChar();
