#include "launcher/page_actions/remove_border.h"

#include "assets/remove_border_image.h"
#include "assets/zipdll/zip_extract.h"
#include "launcher/app/globals.h"
#include "launcher/page_actions/page_action_texts.h"
#include "launcher/page_actions/page_dialog.h"
#include "utilities/whole_file.h"

int ZipUnitExtract(const std::string& zipPath, const std::string& folder) {
    // A zip archive begins with a local header; the extractor would take a
    // file with anything before its central directory.
    if (ReadWholeFile(zipPath).compare(0, 4, "PK\x03\x04") != 0) return 0;
    switch (ExtractZipToFolder(zipPath, folder)) {
        case ZipExtractResult::Extracted: return 1;
        case ZipExtractResult::Unsafe: return -1;
        case ZipExtractResult::Damaged: break;
    }
    return 0;
}

void InstallRemoveBorder() {
    std::string zipPath = FiveMFolder + "\\removeBorder.zip";
    WriteWholeFile(zipPath, RemoveBorderArchive(), RemoveBorderArchiveSize());
    if (ZipUnitExtract(zipPath, FiveMFolder + "\\") > 0)
        ShowPageDialog(kInstallDoneTitle, kRemoveBorderDoneText, "success");
    else
        ShowPageDialog(kInstallFailedTitle, kUnpackFailedText, "error");
}
