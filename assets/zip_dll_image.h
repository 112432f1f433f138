// The zip extraction library "zip.dll", carried inside the launcher as data
// and written beside it when the helper tools are missing.
#pragma once

#include <cstddef>

// The library's file image, unchanged; lives as long as the program.
const unsigned char* ZipDllImage();
size_t ZipDllImageSize();
