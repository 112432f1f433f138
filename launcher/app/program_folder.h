// The folder the launcher runs from: the settings file, the helper tools and
// the temporary downloads lie there, and it is the current directory.
#pragma once

#include <string>

// The executable's folder as GBK text, without a trailing "\".
std::string ProgramFolder();

// The running launcher's full path as GBK text.
std::string OwnExecutablePath();

// True when name, a bare file name, names a file or folder the launcher
// keeps in its program folder: itself, its helper tools, its settings, its
// temporary downloads and the "FiveM" folder that packages unpack into.
// Compared as the file system does: in any letter case, and without the
// trailing dots and blanks that it drops from a name.
bool IsLauncherOwnFileName(const std::string& name);

// The folder of a file: its path up to the last "\" that starts a character
// (a GBK trail byte may be 0x5C); empty when there is none.
std::string FolderOfFile(const std::string& path);

// The same folder as UTF-16, read without the ANSI code page, so characters
// that code page lacks are kept.
std::wstring ProgramFolderWide();

// Makes ProgramFolder() answer folder instead (tests run the start-up
// against a temporary folder).
void OverrideProgramFolder(const std::string& folder);
