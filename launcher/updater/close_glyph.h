// The picture of the updater window's close button.
#pragma once

#include <windows.h>

// A 20×20 cross in colour on a clear ground, as a 32-bit bitmap with
// premultiplied alpha; the caller owns it. Null when the system refuses.
HBITMAP MakeCloseGlyph(COLORREF colour);
