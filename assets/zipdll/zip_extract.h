// Extraction of a whole zip archive into a folder, overwriting what is there.
#pragma once

#include <string>

enum class ZipExtractResult {
    Extracted,
    Damaged,  // the archive could not be opened or read to its end
    Unsafe,   // an entry named a place outside the folder; it was skipped
};

// Extracts every entry of zipPath (a GBK path) below folder (with or without a
// trailing "\"), recreating sub-folders. Entries whose names would leave the
// folder (absolute, drive-qualified or with a ".." component) are skipped.
ZipExtractResult ExtractZipToFolder(const std::string& zipPath, const std::string& folder);
