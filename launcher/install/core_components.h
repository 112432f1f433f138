// The helper tools that must lie beside the launcher, and fetching them as
// one archive from the service's static-file host when one is missing.
#pragma once

#include <string>

// The tools in the order they are tested.
extern const char* const kHelperTools[5];

// The first tool missing from folder, or empty when all are there.
std::string MissingHelperTool(const std::string& folder);

// Writes "zip.dll" from the program's data, downloads and unpacks the
// core-components archive into the program folder, then restarts the
// launcher when every tool is there, or shows an error box when not. Runs on
// the update flow's thread and ends the process.
[[noreturn]] void FetchCoreComponents();

// Thread routine: downloads "temp-data.zip", unpacks it with zip.dll,
// deletes it and sets CoreComponentsReady.
void FetchPluginArchive();

// The command line that starts the launcher again: its full path, quoted.
std::string RestartCommandLine(const std::string& exePath);
