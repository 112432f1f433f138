#include "utilities/gdiplus_image.h"

#include <gdiplus.h>

#include <cstring>

using namespace Gdiplus::DllExports;

GdiplusImage::~GdiplusImage() { Release(); }

void GdiplusImage::Release() {
    if (image_) {
        GdipDisposeImage(image_);
        image_ = nullptr;
    }
    if (stream_) {
        stream_->Release();
        stream_ = nullptr;
    }
    if (block_) {
        GlobalFree(block_);
        block_ = nullptr;
    }
    width_ = 0;
    height_ = 0;
}

bool GdiplusImage::LoadFromBytes(std::string_view bytes) {
    Release();
    if (bytes.size() < 5) return false;
    block_ = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block_) return false;
    // The block stays ours: the stream must not free it, since the object
    // frees it after disposing the image that reads through the stream.
    if (CreateStreamOnHGlobal(block_, FALSE, &stream_) != S_OK || !stream_) return false;
    void* data = GlobalLock(block_);
    if (!data) return false;
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block_);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromStream(stream_, &bitmap) != Gdiplus::Ok) bitmap = nullptr;
    image_ = bitmap;
    return image_ != nullptr;
}

void GdiplusImage::GetSize(uint32_t* width, uint32_t* height) {
    if (image_ && width_ == 0) {
        UINT w = 0, h = 0;
        GdipGetImageWidth(image_, &w);
        GdipGetImageHeight(image_, &h);
        width_ = w;
        height_ = h;
        if (w == 0 || h == 0) Release();
    }
    *width = width_;
    *height = height_;
}

uint32_t GdiplusImage::GetWidth() {
    uint32_t w, h;
    GetSize(&w, &h);
    return w;
}

uint32_t GdiplusImage::GetHeight() {
    uint32_t w, h;
    GetSize(&w, &h);
    return h;
}
