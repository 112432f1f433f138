// The texts that the download completion runs: the self-update script and
// the 7-Zip command line. Pure functions, so their exact text is testable.
#pragma once

#include <cstdint>
#include <string>

// The self-update script: seven lines joined by CR LF, none after the last.
// It ends the running launcher (pid), waits about a second, deletes the old
// executable exeName (a bare file name in the current folder; nothing in
// sub-folders), moves "temp-launcher.exe" into its place, starts it and
// deletes itself. A name with blanks or characters the command interpreter
// treats specially is quoted; a plain name is written as it is.
std::string BuildSelfUpdateScript(uint32_t pid, const std::string& exeName);

// A file name as the script writes it: quoted unless it is plain, with "%"
// doubled so the interpreter does not expand it.
std::string ScriptFileName(const std::string& name);

// "7z x -aoa ARCHIVE -o"FOLDER\"".
std::string BuildUnpackCommandLine(const std::string& archiveName, const std::string& fiveMFolder);

// True when bytes look like a Windows executable: non-empty and beginning
// with "MZ".
bool IsWindowsExecutableImage(const std::string& bytes);
