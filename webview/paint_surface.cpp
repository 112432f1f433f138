#include "webview/paint_surface.h"

#include "utilities/dib_section.h"

PaintSurface::~PaintSurface() {
    if (memoryDc_) DeleteDC(memoryDc_);
    if (bitmap_) DeleteObject(bitmap_);
}

void PaintSurface::AttachToWindow(HWND window) {
    window_ = window;
    if (!memoryDc_) memoryDc_ = CreateCompatibleDC(nullptr);
    RECT client = {};
    GetClientRect(window, &client);
    SetSize(client.right - client.left, client.bottom - client.top);
}

void PaintSurface::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    pixels_ = nullptr;
}

bool PaintSurface::Update(HDC engineDc, int x, int y, int width, int height) {
    if (!memoryDc_ || !window_) return false;
    if (!pixels_) {
        // The engine reports its whole view once after a size change; only
        // that report can rebuild the bitmap.
        if (width != width_ || height != height_) return true;
        uint32_t* pixels = nullptr;
        HBITMAP bitmap = CreateTopDownDib(memoryDc_, width_, height_, &pixels);
        if (!bitmap) return false;
        SelectObject(memoryDc_, bitmap);
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = bitmap;
        pixels_ = pixels;
    }
    BitBlt(memoryDc_, x, y, width_, height_, engineDc, x, y, SRCCOPY);
    HDC windowDc = GetDC(window_);
    if (windowDc) {
        BitBlt(windowDc, x, y, width_, height_, memoryDc_, x, y, SRCCOPY);
        ReleaseDC(window_, windowDc);
    }
    return true;
}
