// An image decoded by GDI+ from bytes held in memory, without touching the
// file system. The object keeps the copy of the bytes and the stream over
// it for as long as the decoded bitmap lives, since GDI+ may read the
// stream again while the bitmap exists.
//
// GDI+ must have been started before a load. Not thread-safe: one thread
// (the UI thread) uses an object.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string_view>

namespace Gdiplus {
class GpImage;
}

class GdiplusImage {
public:
    GdiplusImage() = default;
    ~GdiplusImage();
    // One object owns one image, stream and block: a copy would dispose them twice.
    GdiplusImage(const GdiplusImage&) = delete;
    GdiplusImage& operator=(const GdiplusImage&) = delete;

    // Disposes the image, releases the stream, frees the block and forgets the size.
    void Release();
    // Frees what the object held, then decodes bytes (PNG, JPEG or any format
    // GDI+ reads). False for fewer than 5 bytes or bytes GDI+ cannot decode.
    bool LoadFromBytes(std::string_view bytes);
    // 0 when there is no image. The size is read once and cached; an image
    // that reports a zero width or height is released.
    uint32_t GetWidth();
    uint32_t GetHeight();
    void GetSize(uint32_t* width, uint32_t* height);
    // Owned by the object; null when there is no image.
    Gdiplus::GpImage* GetHandle() const { return image_; }

private:
    HGLOBAL block_ = nullptr;
    IStream* stream_ = nullptr;
    Gdiplus::GpImage* image_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
};
