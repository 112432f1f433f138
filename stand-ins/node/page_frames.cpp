// Frames of the page host's browser: JPEG pictures of the page, decoded with
// libjpeg on the host's reader thread and drawn by the view's thread.
#include "standin.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace standin {

namespace {

struct DecodeError {
    jpeg_error_mgr manager;
    jmp_buf resume;
};

void OnDecodeError(j_common_ptr info) { longjmp(reinterpret_cast<DecodeError*>(info->err)->resume, 1); }

// Top-down 0xXXRRGGBB pixels of a JPEG picture; false for a picture libjpeg refuses.
bool DecodeJpeg(const std::string& jpeg, int* width, int* height, std::vector<uint32_t>* pixels) {
    jpeg_decompress_struct info;
    DecodeError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnDecodeError;
    // Only plain data lives across the jump; the vector is sized before it can happen again.
    if (setjmp(error.resume)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), (unsigned long)jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit DIB
    jpeg_start_decompress(&info);
    *width = (int)info.output_width;
    *height = (int)info.output_height;
    pixels->assign((size_t)*width * *height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels->data() + (size_t)info.output_scanline * *width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

void ShowFrame(const std::shared_ptr<View>& view, const std::string& jpeg) {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (!DecodeJpeg(jpeg, &width, &height, &pixels)) {
        Log("page host: a frame could not be decoded");
        return;
    }
    {
        std::lock_guard<std::mutex> lock(view->frameMutex);
        view->frameWidth = width;
        view->frameHeight = height;
        view->framePixels.swap(pixels);
    }
    // Frames come faster than a busy UI thread may paint them: one repaint waits at a time.
    if (view->repaintQueued.exchange(true)) return;
    PostToViewThread(view, [view]() {
        view->repaintQueued = false;
        RepaintView(*view);
    });
}

bool DrawFrame(HDC dc, const RECT& area, View& view) {
    std::lock_guard<std::mutex> lock(view.frameMutex);
    if (view.framePixels.empty()) return false;
    BITMAPINFO bitmap = {};
    bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
    bitmap.bmiHeader.biWidth = view.frameWidth;
    bitmap.bmiHeader.biHeight = -view.frameHeight;  // top-down
    bitmap.bmiHeader.biPlanes = 1;
    bitmap.bmiHeader.biBitCount = 32;
    bitmap.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0, view.frameWidth,
                  view.frameHeight, view.framePixels.data(), &bitmap, DIB_RGB_COLORS, SRCCOPY);
    return true;
}

}  // namespace standin
