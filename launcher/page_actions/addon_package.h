// Add-on packages: archives holding a top-level "FiveM" folder whose content
// mirrors the FiveM folder. Either way they are fetched (one GET, or the
// download daemon for large ones), they are unpacked with 7-Zip into the
// program folder and copied into the FiveM folder from there, and the page's
// loading dialog becomes a success or a failure message.
#pragma once

#include <string>

enum class AddonOutcome { Installed, DownloadFailed, UnpackFailed, CopyFailed };

// Unpacks the archive fileName (a bare name in the program folder), copies
// the unpacked "FiveM" folder into FiveMFolder unless that is the program
// folder's own "FiveM", and deletes the archive whatever happened. Installed
// only when 7-Zip and the copy both succeeded.
AddonOutcome UnpackAndCopyAddon(const std::string& fileName);

// True when the unpacked "FiveM" folder of programFolder must be copied
// into fiveMFolder: they are different folders (Windows compares folder
// names without regard to case).
bool AddonCopyNeeded(const std::string& programFolder, const std::string& fiveMFolder);

// "cmd /c xcopy FiveM\* "FOLDER\" /e /y", run in the program folder.
std::string BuildAddonCopyCommandLine(const std::string& fiveMFolder);

// The page scripts that end the loading dialog. The large package's success
// also hands fileName to the page's installPackageCallback.
std::string AddonSuccessScript();
std::string AddonLargeSuccessScript(const std::string& fileName);
std::string AddonFailureScript(AddonOutcome outcome);
