// The one export the launcher calls. Its result is not looked at by the
// launcher; it still says whether everything was extracted.
#include <windows.h>

#include "assets/zipdll/zip_extract.h"

extern "C" __declspec(dllexport) int __stdcall MyZip_ExtractFileAll(const char* zipPath, const char* folder) {
    if (!zipPath || !folder) return 0;
    try {
        return ExtractZipToFolder(zipPath, folder) == ZipExtractResult::Extracted ? 1 : 0;
    } catch (...) {
        // Nothing may unwind into the caller's frames.
        return 0;
    }
}
