// GDI+ for the tests of the image and shadow code: started once per test
// program, never shut down (as in the launcher), and a pixel reader.
#pragma once

#include <windows.h>
#include <objidl.h>
// GDI+ needs the COM types of objidl.h first.
#include <gdiplus.h>

#include <cstdint>

namespace testsupport {

inline void StartGdiplusOnce() {
    static ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
}

// 0xAARRGGBB of one pixel of a GDI+ bitmap.
inline uint32_t ImagePixel(Gdiplus::GpImage* image, int x, int y) {
    Gdiplus::ARGB argb = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image), x, y, &argb);
    return argb;
}

}  // namespace testsupport
