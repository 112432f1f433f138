#include "assets/zip_dll_image.h"

// The image is pulled in by the assembler from the built library, so that the
// launcher always carries the zip.dll of the same build. QM_ZIP_DLL_IMAGE is
// its path (assets/CMakeLists.txt).
#define QM_STRINGIFY2(x) #x
#define QM_STRINGIFY(x) QM_STRINGIFY2(x)

__asm__(
    ".section .rdata,\"dr\"\n"
    ".balign 16\n"
    "_qm_zip_dll_image_begin:\n"
    ".incbin " QM_STRINGIFY(QM_ZIP_DLL_IMAGE) "\n"
    "_qm_zip_dll_image_end:\n"
    ".text\n");

extern "C" const unsigned char qm_zip_dll_image_begin[];
extern "C" const unsigned char qm_zip_dll_image_end[];

const unsigned char* ZipDllImage() { return qm_zip_dll_image_begin; }
size_t ZipDllImageSize() { return (size_t)(qm_zip_dll_image_end - qm_zip_dll_image_begin); }
