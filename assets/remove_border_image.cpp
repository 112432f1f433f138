#include "assets/remove_border_image.h"

// QM_REMOVE_BORDER_ARCHIVE is the path of the archive packed at build time
// (assets/CMakeLists.txt).
#define QM_STRINGIFY2(x) #x
#define QM_STRINGIFY(x) QM_STRINGIFY2(x)

__asm__(
    ".section .rdata,\"dr\"\n"
    ".balign 16\n"
    "_qm_remove_border_begin:\n"
    ".incbin " QM_STRINGIFY(QM_REMOVE_BORDER_ARCHIVE) "\n"
    "_qm_remove_border_end:\n"
    ".text\n");

extern "C" const unsigned char qm_remove_border_begin[];
extern "C" const unsigned char qm_remove_border_end[];

const unsigned char* RemoveBorderArchive() { return qm_remove_border_begin; }
size_t RemoveBorderArchiveSize() { return (size_t)(qm_remove_border_end - qm_remove_border_begin); }
