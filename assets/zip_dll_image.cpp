#include "assets/zip_dll_image.h"

#include "assets/embedded_file.h"

// QM_ZIP_DLL_IMAGE is the path of the stripped library (assets/CMakeLists.txt).
QM_EMBED_FILE(qm_zip_dll_image, QM_ZIP_DLL_IMAGE);

const unsigned char* ZipDllImage() { return qm_zip_dll_image_begin; }
size_t ZipDllImageSize() { return QM_EMBEDDED_BYTES(qm_zip_dll_image).size(); }
