// Paints a shadow window's pixels with per-pixel alpha and pushes them to
// the screen as a layered window. Black 5- and 10-pixel shadows are
// stretched from the two pictures the program carries (nine-slice); any
// other colour or size is drawn as rings of rounded rectangles whose alpha
// grows towards the window. The area of the target window itself stays
// fully transparent.
//
// UI thread only. GDI+ must have been started before the first paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

class GdiplusImage;
namespace Gdiplus {
class GpGraphics;
class GpImage;
class GpPath;
}  // namespace Gdiplus

// The two caches the painting loads the carried pictures into on first use
// and keeps. The program binds its globals once at start; until then the
// painting uses a pair of its own. Not owned.
void BindShadowImages(GdiplusImage* image5, GdiplusImage* image10);

// Repaints the shadow window of target at the given size (both taken from
// the shadow window's rectangle when either is not given or is 0). Nothing
// happens when target has no shadow or the size is empty.
void RenderShadow(HWND target, std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt);

// Paints shadowWindow's shadow (colour and size from its properties) into dc,
// a context with a 32-bit bitmap of width x height selected.
void PaintShadow(HWND shadowWindow, HDC dc, int width, int height);

// Draws image over the rectangle x, y, w, h: corners unscaled, edges
// stretched along their length, the centre both ways. slices (left, top,
// right, bottom in image pixels) default to a margin of 20, 10 or 5 pixels
// by the image's size.
void DrawNineSlice(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int x, int y, float w, float h,
                   std::optional<RECT> slices = std::nullopt);

// 0x00BBGGRR and an alpha to GDI+'s 0xAARRGGBB.
uint32_t ColorToArgb(COLORREF colour, int alpha);

// A closed path of a rectangle with corners of the given radius (clamped to
// 1..100; 0 or less gives a plain rectangle). The caller deletes it
// (GdipDeletePath).
Gdiplus::GpPath* AddRoundRectPath(float x, float y, float w, float h, int radius);
