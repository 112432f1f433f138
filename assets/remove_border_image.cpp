#include "assets/remove_border_image.h"

#include "assets/embedded_file.h"

// QM_REMOVE_BORDER_ARCHIVE: the archive packed at build time
// (assets/CMakeLists.txt).
QM_EMBED_FILE(qm_remove_border, QM_REMOVE_BORDER_ARCHIVE);

const unsigned char* RemoveBorderArchive() { return qm_remove_border_begin; }
size_t RemoveBorderArchiveSize() { return (size_t)(qm_remove_border_end - qm_remove_border_begin); }
