// The remove-border patch as the launcher carries it: a zip archive of the
// folders down to "FiveM.app\citizen\platform\data\tune" and its
// "playerinfo.ymt" (remove_border/), packed at build time.
#pragma once

#include <cstddef>

// The archive's bytes; live as long as the program.
const unsigned char* RemoveBorderArchive();
size_t RemoveBorderArchiveSize();
