#include "assets/shadow_pictures.h"

#include "assets/embedded_file.h"

// Paths from assets/CMakeLists.txt.
QM_EMBED_FILE(qm_shadow_picture_5, QM_SHADOW_PICTURE_5);
QM_EMBED_FILE(qm_shadow_picture_10, QM_SHADOW_PICTURE_10);

std::string_view ShadowPicture5() { return QM_EMBEDDED_BYTES(qm_shadow_picture_5); }
std::string_view ShadowPicture10() { return QM_EMBEDDED_BYTES(qm_shadow_picture_10); }
