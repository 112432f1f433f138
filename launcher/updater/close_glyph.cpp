#include "launcher/updater/close_glyph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "utilities/dib_section.h"

HBITMAP MakeCloseGlyph(COLORREF colour) {
    const int size = 20;
    uint32_t* pixels = nullptr;
    HBITMAP bitmap = CreateTopDownDib(nullptr, size, size, &pixels);
    if (!bitmap) return nullptr;
    const double low = 5.5, high = 13.5, half = 0.9;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double cx = x + 0.5, cy = y + 0.5;
            // Distance to the nearer diagonal, inside the cross's square.
            double d = std::min(std::fabs(cx - cy), std::fabs(cx + cy - size)) / std::sqrt(2.0);
            double coverage =
                (cx < low || cx > high + 1 || cy < low || cy > high + 1) ? 0 : std::clamp(half + 0.5 - d, 0.0, 1.0);
            auto a = (uint32_t)(coverage * 255 + 0.5);
            uint32_t r = GetRValue(colour) * a / 255, g = GetGValue(colour) * a / 255, b = GetBValue(colour) * a / 255;
            pixels[y * size + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return bitmap;
}
