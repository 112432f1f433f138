// The shadow's pixels, painted into a 32-bit memory bitmap and read back,
// and the GDI+ image object the painting draws from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/shadow_pictures.h"
#include "support/gdiplus_for_tests.h"
#include "support/test_support.h"
#include "utilities/dib_section.h"
#include "utilities/gdiplus_image.h"
#include "utilities/shadow_painting.h"
#include "utilities/shadow_properties.h"
#include "utilities/win_handles.h"

using namespace Gdiplus::DllExports;

namespace {

// A window that only carries the colour and size properties PaintShadow reads.
class PropertyWindow {
public:
    PropertyWindow(COLORREF colour, int size)
        : hwnd_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {
        SetShadowProperty(hwnd_, kShadowColorProperty, colour);
        SetShadowProperty(hwnd_, kShadowSizeProperty, size);
    }
    ~PropertyWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// A cleared top-down 32-bit bitmap in a memory context.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width),
          screen_(GetDC(nullptr)),
          dc_(screen_),
          bitmap_(CreateTopDownDib(screen_, width, height, &pixels_)),
          select_(dc_.Get(), bitmap_.Get()) {}
    ~Canvas() { ReleaseDC(nullptr, screen_); }
    HDC Dc() const { return dc_.Get(); }
    uint32_t Pixel(int x, int y) const { return pixels_[y * width_ + x]; }
    int Alpha(int x, int y) const { return Pixel(x, y) >> 24; }

private:
    int width_;
    HDC screen_;
    uint32_t* pixels_ = nullptr;
    ScopedMemoryDc dc_;
    ScopedGdiObject<HBITMAP> bitmap_;
    ScopedSelect select_;
};

class ShadowPainting : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::StartGdiplusOnce(); }
};

// A black shadow of 5 or 10 pixels on a 960 x 540 window is the carried
// picture of that size, its alphas by distance from the outer edge.
struct PictureCase {
    int size;
    std::string_view (*picture)();
    std::vector<int> nearEdges;  // left and top
    std::vector<int> farEdges;   // right and bottom
};

TEST_F(ShadowPainting, BlackShadowsOfFiveAndTenPixelsStretchTheirPictureAroundATransparentWindow) {
    const PictureCase cases[] = {
        {5, ShadowPicture5, {15, 31, 53, 79, 111}, {15, 31, 53, 79, 111}},
        {10, ShadowPicture10, {11, 19, 28, 40, 53, 68, 85, 105, 122, 137}, {11, 19, 28, 40, 53, 68, 85, 105, 122, 124}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        const int w = 960 + 2 * c.size, h = 540 + 2 * c.size;
        PropertyWindow shadow(0, c.size);
        Canvas canvas(w, h);
        PaintShadow(shadow.Get(), canvas.Dc(), w, h);

        // Positions along the top and bottom edges outside the corners. Wine
        // leaves the first column of an image it widens by more than about
        // three times unpainted (Windows does not), so column 20 is looked at
        // only on Windows.
        std::vector<int> columns = {21, 100, w / 2, w - 21};
        if (!testsupport::RunningUnderWine()) columns.push_back(20);
        for (int along : columns) {
            for (int d = 0; d < c.size; ++d) {
                SCOPED_TRACE("x " + std::to_string(along) + ", distance " + std::to_string(d));
                EXPECT_EQ(canvas.Alpha(along, d), c.nearEdges[d]);
                EXPECT_EQ(canvas.Alpha(along, h - 1 - d), c.farEdges[d]);
                EXPECT_EQ(canvas.Pixel(along, d) & 0xFFFFFF, 0u);
            }
        }
        for (int along : {20, h / 2, h - 21}) {
            for (int d = 0; d < c.size; ++d) {
                SCOPED_TRACE("y " + std::to_string(along) + ", distance " + std::to_string(d));
                EXPECT_EQ(canvas.Alpha(d, along), c.nearEdges[d]);
                EXPECT_EQ(canvas.Alpha(w - 1 - d, along), c.farEdges[d]);
            }
        }
        const int s = c.size;
        for (auto [x, y] : {std::pair{s, s}, {w / 2, h / 2}, {w - 1 - s, h - 1 - s}, {s, h - 1 - s}, {w - 1 - s, s}})
            EXPECT_EQ(canvas.Alpha(x, y), 0) << x << "," << y;

        // The 20 x 20 corners are the picture's own, unscaled.
        GdiplusImage picture;
        ASSERT_TRUE(picture.LoadFromBytes(c.picture()));
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                ASSERT_EQ(canvas.Alpha(x, y), int(testsupport::ImagePixel(picture.GetHandle(), x, y) >> 24))
                    << x << "," << y;
                ASSERT_EQ(canvas.Alpha(w - 20 + x, h - 20 + y),
                          int(testsupport::ImagePixel(picture.GetHandle(), 80 + x, 80 + y) >> 24))
                    << x << "," << y;
            }
        }
    }
}

struct RingCase {
    COLORREF colour;
    int size;
    std::vector<int> alphas;  // from the outside in
};

TEST_F(ShadowPainting, OtherColoursAndSizesAreDrawnAsRingsAroundATransparentInside) {
    const RingCase cases[] = {
        {RGB(255, 0, 0), 10, {15, 30, 45, 60, 75, 90, 105, 120, 135, 150}},
        {RGB(0, 128, 255), 5, {20, 40, 60, 80, 100}},
        {RGB(0, 128, 255), 3, {33, 66, 99}},
        {0, 3, {33, 66, 99}},  // black, but no picture of that size
        {0, 7, {14, 28, 42, 56, 70, 84, 98}},
    };
    const int w = 300, h = 200;
    for (const RingCase& c : cases) {
        SCOPED_TRACE("colour " + std::to_string(c.colour) + ", size " + std::to_string(c.size));
        PropertyWindow shadow(c.colour, c.size);
        Canvas canvas(w, h);
        PaintShadow(shadow.Get(), canvas.Dc(), w, h);
        for (int d = 0; d < c.size; ++d) {
            int expected = c.alphas[d];
            // Rounding of the blend may move an alpha by one.
            EXPECT_NEAR(canvas.Alpha(150, d), expected, 1) << "top, distance " << d;
            EXPECT_NEAR(canvas.Alpha(150, h - 1 - d), expected, 1) << "bottom, distance " << d;
            EXPECT_NEAR(canvas.Alpha(d, 100), expected, 1) << "left, distance " << d;
            EXPECT_NEAR(canvas.Alpha(w - 1 - d, 100), expected, 1) << "right, distance " << d;
            // The ring is of the colour (premultiplied by its alpha): red
            // stays red, blue blue.
            const uint32_t pixel = canvas.Pixel(150, d);
            const int channels[3] = {GetRValue(c.colour), GetGValue(c.colour), GetBValue(c.colour)};
            const int painted[3] = {int(pixel >> 16) & 0xFF, int(pixel >> 8) & 0xFF, int(pixel) & 0xFF};
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(painted[i], channels[i] * canvas.Alpha(150, d) / 255, 2) << "channel "
                                                                                     << "RGB"[i] << ", distance " << d;
        }
        for (int y = c.size; y < h - c.size; y += 7)
            for (int x = c.size; x < w - c.size; x += 7) ASSERT_EQ(canvas.Pixel(x, y), 0u) << x << "," << y;
    }
}

// An image whose red byte is its x coordinate and blue byte its y, so a
// destination pixel tells which source pixel it came from.
Gdiplus::GpBitmap* CoordinateImage(int side) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(side, side, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) GdipBitmapSetPixel(bitmap, x, y, 0xFF000000u | (x << 16) | y);
    return bitmap;
}

TEST_F(ShadowPainting, NineSliceMarginsFollowTheImageSize) {
    const struct {
        int side;
        int margin;
    } cases[] = {{100, 20}, {60, 10}, {40, 5}};
    const int out = 200;
    for (const auto& c : cases) {
        SCOPED_TRACE("image side " + std::to_string(c.side));
        Gdiplus::GpBitmap* image = CoordinateImage(c.side);
        Canvas canvas(out, out);
        Gdiplus::GpGraphics* graphics = nullptr;
        GdipCreateFromHDC(canvas.Dc(), &graphics);
        DrawNineSlice(graphics, image, 0, 0, out, out);
        GdipDeleteGraphics(graphics);
        auto sourceX = [&](int x, int y) { return int((canvas.Pixel(x, y) >> 16) & 0xFF); };
        auto sourceY = [&](int x, int y) { return int(canvas.Pixel(x, y) & 0xFF); };
        int m = c.margin;
        // Corners unscaled.
        EXPECT_EQ(sourceX(m - 1, 0), m - 1);
        EXPECT_EQ(sourceY(0, m - 1), m - 1);
        EXPECT_EQ(sourceX(out - m, out - 1), c.side - m);
        EXPECT_EQ(sourceY(out - 1, out - m), c.side - m);
        // Edges stretched: the middle of the destination shows the middle of the source.
        EXPECT_NEAR(sourceX(out / 2, 0), c.side / 2, 1);
        EXPECT_NEAR(sourceY(0, out / 2), c.side / 2, 1);
        GdipDisposeImage(image);
    }
}

TEST_F(ShadowPainting, ImageLoadsFromBytesAndRefusesWhatItCannotDecode) {
    GdiplusImage image;
    ASSERT_TRUE(image.LoadFromBytes(ShadowPicture5()));
    EXPECT_NE(image.GetHandle(), nullptr);
    EXPECT_EQ(image.GetWidth(), 100u);
    EXPECT_EQ(image.GetHeight(), 100u);
    uint32_t w = 0, h = 0;
    image.GetSize(&w, &h);
    EXPECT_EQ(w, 100u);
    EXPECT_EQ(h, 100u);

    const std::string png(ShadowPicture5());
    const std::string refused[] = {"", png.substr(0, 4), png.substr(0, 40), std::string(64, 'x')};
    for (const std::string& bytes : refused) {
        EXPECT_FALSE(image.LoadFromBytes(bytes)) << bytes.size() << " bytes";
        // A refused load leaves nothing of the earlier picture behind.
        EXPECT_EQ(image.GetHandle(), nullptr);
        EXPECT_EQ(image.GetWidth(), 0u);
    }
    ASSERT_TRUE(image.LoadFromBytes(ShadowPicture10()));
    EXPECT_EQ(testsupport::ImagePixel(image.GetHandle(), 0, 50) >> 24, 11u);  // the outermost alpha
    image.Release();
    EXPECT_EQ(image.GetHandle(), nullptr);
    EXPECT_EQ(image.GetHeight(), 0u);
}

}  // namespace
