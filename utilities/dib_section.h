// A 32-bit top-down DIB section: pixels as 0xAARRGGBB words, row 0 on top,
// the layout that layered windows and per-pixel painting expect.
#pragma once

#include <windows.h>

#include <cstdint>

// Null on failure; *pixels then is null too. The caller deletes the bitmap.
HBITMAP CreateTopDownDib(HDC dc, int width, int height, uint32_t** pixels);
