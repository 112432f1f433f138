#include "assets/zip_dll_image.h"

#include "assets/embedded_file.h"

// QM_ZIP_DLL_IMAGE: the stripped library of this build (assets/CMakeLists.txt).
QM_EMBED_FILE(qm_zip_dll_image, QM_ZIP_DLL_IMAGE);

const unsigned char* ZipDllImage() { return qm_zip_dll_image_begin; }
size_t ZipDllImageSize() { return (size_t)(qm_zip_dll_image_end - qm_zip_dll_image_begin); }
