#include "assets/digital_font.h"

#include "assets/embedded_file.h"

// Path from assets/CMakeLists.txt.
QM_EMBED_FILE(qm_digital_font, QM_DIGITAL_FONT);

std::string_view DigitalFontData() { return QM_EMBEDDED_BYTES(qm_digital_font); }
