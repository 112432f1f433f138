#include "utilities/shadow_painting.h"

#include <objidl.h>
// GDI+ needs the COM types of objidl.h first.
#include <gdiplus.h>

#include <algorithm>

#include "assets/shadow_pictures.h"
#include "utilities/dib_section.h"
#include "utilities/gdiplus_image.h"
#include "utilities/shadow_properties.h"
#include "utilities/win_handles.h"

using namespace Gdiplus::DllExports;

namespace {

GdiplusImage* BoundImage5 = nullptr;
GdiplusImage* BoundImage10 = nullptr;

GdiplusImage& ShadowImage(int size) {
    static GdiplusImage ownImage5, ownImage10;
    if (size == 5) return BoundImage5 ? *BoundImage5 : ownImage5;
    return BoundImage10 ? *BoundImage10 : ownImage10;
}

// A GDI+ graphics object on a device context for one paint.
class ScopedGraphics {
public:
    explicit ScopedGraphics(HDC dc) {
        if (GdipCreateFromHDC(dc, &graphics_) != Gdiplus::Ok) graphics_ = nullptr;
    }
    ~ScopedGraphics() {
        if (graphics_) GdipDeleteGraphics(graphics_);
    }
    ScopedGraphics(const ScopedGraphics&) = delete;
    ScopedGraphics& operator=(const ScopedGraphics&) = delete;
    Gdiplus::GpGraphics* Get() const { return graphics_; }

private:
    Gdiplus::GpGraphics* graphics_ = nullptr;
};

// The picture is loaded on first use and kept; a picture that failed to
// load is tried again at the next paint.
void DrawPicture(Gdiplus::GpGraphics* graphics, int size, int w, int h) {
    GdiplusImage& image = ShadowImage(size);
    if (!image.GetHandle()) image.LoadFromBytes(size == 5 ? ShadowPicture5() : ShadowPicture10());
    if (!image.GetHandle()) return;
    // The edges are stretched along their length only, where every pixel
    // of the picture is alike: taking the nearest source pixel, with pixel
    // centres at half coordinates, copies them exactly. Interpolation would
    // sample beyond the first and last source column of a piece and leave a
    // faint seam where a corner meets an edge.
    GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor);
    GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
    DrawNineSlice(graphics, image.GetHandle(), 0, 0, static_cast<float>(w), static_cast<float>(h));
}

void DrawRings(Gdiplus::GpGraphics* graphics, COLORREF colour, int size, int w, int h) {
    int step = size > 8 ? 150 / size : 100 / size;
    // Exclusive-or with the unclipped surface: everything outside the
    // target's own rectangle stays drawable, the rectangle does not.
    ScopedGdiObject<HRGN> inside(CreateRectRgn(size, size, w - size, h - size));
    GdipSetClipHrgn(graphics, inside.Get(), Gdiplus::CombineModeXor);
    GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
    GdipSetCompositingQuality(graphics, Gdiplus::CompositingQualityAssumeLinear);
    for (int i = 1; i <= size; ++i) {
        Gdiplus::GpPen* pen = nullptr;
        if (GdipCreatePen1(ColorToArgb(colour, step * i), 1.0f, Gdiplus::UnitPixel, &pen) != Gdiplus::Ok) continue;
        Gdiplus::GpPath* path =
            AddRoundRectPath(static_cast<float>(i - 1), static_cast<float>(i - 1), static_cast<float>(w - 2 * i + 1),
                             static_cast<float>(h - 2 * i + 1), 4);
        if (path) {
            GdipDrawPath(graphics, pen, path);
            GdipDeletePath(path);
        }
        GdipDeletePen(pen);
    }
    GdipResetClip(graphics);
}

}  // namespace

void BindShadowImages(GdiplusImage* image5, GdiplusImage* image10) {
    BoundImage5 = image5;
    BoundImage10 = image10;
}

void RenderShadow(HWND target, std::optional<int> width, std::optional<int> height) {
    HWND shadow = reinterpret_cast<HWND>(GetShadowProperty(target, kShadowWindowProperty));
    if (!shadow) return;
    int w = width.value_or(0), h = height.value_or(0);
    if (w == 0 || h == 0) {
        RECT rect{};
        GetWindowRect(shadow, &rect);
        w = rect.right - rect.left;
        h = rect.bottom - rect.top;
    }
    if (w <= 0 || h <= 0) return;

    HDC windowDc = GetDC(shadow);
    if (!windowDc) return;
    {
        ScopedMemoryDc memory(windowDc);
        uint32_t* pixels = nullptr;
        ScopedGdiObject<HBITMAP> bitmap(CreateTopDownDib(windowDc, w, h, &pixels));
        if (memory.Get() && bitmap.Get()) {
            ScopedSelect select(memory.Get(), bitmap.Get());
            PaintShadow(shadow, memory.Get(), w, h);
            SIZE size{w, h};
            POINT source{0, 0};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            UpdateLayeredWindow(shadow, windowDc, nullptr, &size, memory.Get(), &source, 0, &blend, ULW_ALPHA);
        }
    }
    ReleaseDC(shadow, windowDc);
}

void PaintShadow(HWND shadowWindow, HDC dc, int width, int height) {
    COLORREF colour = static_cast<COLORREF>(GetShadowProperty(shadowWindow, kShadowColorProperty));
    int size = static_cast<int>(GetShadowProperty(shadowWindow, kShadowSizeProperty));
    if (size < 1) return;
    ScopedGraphics graphics(dc);
    if (!graphics.Get()) return;
    if (colour == 0 && (size == 5 || size == 10)) {
        DrawPicture(graphics.Get(), size, width, height);
    } else {
        DrawRings(graphics.Get(), colour, size, width, height);
    }
}

void DrawNineSlice(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int x, int y, float w, float h,
                   std::optional<RECT> slices) {
    float iw = 0, ih = 0;
    if (GdipGetImageDimension(image, &iw, &ih) != Gdiplus::Ok) return;
    int L, T, R, B;
    if (slices) {
        L = slices->left, T = slices->top, R = slices->right, B = slices->bottom;
    } else {
        int m = iw > 80 && ih > 80 ? 20 : iw > 50 && ih > 50 ? 10 : 5;
        L = m, T = m, R = static_cast<int>(iw - m), B = static_cast<int>(ih - m);
    }
    float c = static_cast<float>(R - L), d = static_cast<float>(B - T);
    float dw = static_cast<float>(static_cast<int>(w - L - (iw - R)));
    float dh = static_cast<float>(static_cast<int>(h - T - (ih - B)));
    float rm = iw - R, bm = ih - B;
    float left = static_cast<float>(x), top = static_cast<float>(y);
    float right = left + w - rm, bottom = top + static_cast<float>(static_cast<int>(h - bm));
    struct Piece {
        float dx, dy, dw, dh, sx, sy, sw, sh;
    };
    const Piece pieces[] = {
        {left, top, float(L), float(T), 0, 0, float(L), float(T)},
        {left + L, top, dw, float(T), float(L), 0, c, float(T)},
        {right, top, rm, float(T), float(R), 0, rm, float(T)},
        {left, top + T, float(L), dh, 0, float(T), float(L), d},
        {left + L, top + T, dw, dh, float(L), float(T), c, d},
        {right, top + T, rm, dh, float(R), float(T), rm, d},
        {left, bottom, float(L), bm, 0, float(B), float(L), bm},
        {left + L, bottom, dw, bm, float(L), float(B), c, bm},
        {right, bottom, rm, bm, float(R), float(B), rm, bm},
    };
    for (const Piece& p : pieces) {
        GdipDrawImageRectRect(graphics, image, p.dx, p.dy, p.dw, p.dh, p.sx, p.sy, p.sw, p.sh, Gdiplus::UnitPixel,
                              nullptr, nullptr, nullptr);
    }
}

uint32_t ColorToArgb(COLORREF colour, int alpha) {
    uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return (static_cast<uint32_t>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

Gdiplus::GpPath* AddRoundRectPath(float x, float y, float w, float h, int radius) {
    Gdiplus::GpPath* path = nullptr;
    if (GdipCreatePath(Gdiplus::FillModeAlternate, &path) != Gdiplus::Ok) return nullptr;
    if (radius <= 0) {
        GdipAddPathRectangle(path, x, y, w, h);
        return path;
    }
    float d = 2.0f * std::clamp(radius, 1, 100);
    GdipAddPathArc(path, x, y, d, d, 180, 90);
    GdipAddPathArc(path, x + w - d, y, d, d, 270, 90);
    GdipAddPathArc(path, x + w - d, y + h - d, d, d, 0, 90);
    GdipAddPathArc(path, x, y + h - d, d, d, 90, 90);
    GdipClosePathFigure(path);
    return path;
}
