// The paint surface of a view: a memory copy of what the engine draws,
// copied on to the host window. Its size is the host window's client size
// when the view was made.
#pragma once

#include <windows.h>

class PaintSurface {
public:
    PaintSurface() = default;
    ~PaintSurface();
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;

    // Creates the memory device context, takes the window's client size and
    // flags the bitmap for rebuilding.
    void AttachToWindow(HWND window);

    // The engine's paint report: its device context and the changed rectangle.
    // False when the bitmap could not be made.
    bool Update(HDC engineDc, int x, int y, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    HDC memoryDc() const { return memoryDc_; }

private:
    void SetSize(int width, int height);

    HWND window_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC memoryDc_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    void* pixels_ = nullptr;  // null: the bitmap must be rebuilt
};
