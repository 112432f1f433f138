// The folder the launcher runs from: the settings file, the helper tools and
// the temporary downloads lie there, and it is the current directory.
#pragma once

#include <string>

// The executable's folder as GBK text, without a trailing "\".
std::string ProgramFolder();

// The same folder as UTF-16, read without the ANSI code page, so characters
// that code page lacks are kept.
std::wstring ProgramFolderWide();

// Makes ProgramFolder() answer folder instead (tests run the start-up
// against a temporary folder).
void OverrideProgramFolder(const std::string& folder);
