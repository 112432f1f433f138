// The pictures and the font made at build time: their shape as the
// painting, the local service and the updater window need it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/digital_font.h"
#include "assets/shadow_pictures.h"
#include "support/font_faces.h"
#include "support/gdiplus_for_tests.h"
#include "support/test_support.h"
#include "utilities/gdiplus_image.h"
#include "utilities/win_handles.h"

namespace {

struct PictureCase {
    int size;
    std::string_view (*bytes)();
    std::vector<int> nearEdges;  // alpha by distance from the left and top edges
    std::vector<int> farEdges;   // from the right and bottom edges
    int rounding;                // the corners bend within this many pixels
};

class CarriedData : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::StartGdiplusOnce(); }
};

TEST_F(CarriedData, ShadowPicturesAreBlackRampsAroundATransparentSquare) {
    const PictureCase cases[] = {
        {5, ShadowPicture5, {15, 31, 53, 79, 111}, {15, 31, 53, 79, 111}, 11},
        {10,
         ShadowPicture10,
         {11, 19, 28, 40, 53, 68, 85, 105, 122, 137},
         {11, 19, 28, 40, 53, 68, 85, 105, 122, 124},
         19},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        GdiplusImage image;
        ASSERT_TRUE(image.LoadFromBytes(c.bytes()));
        ASSERT_EQ(image.GetWidth(), 100u);
        ASSERT_EQ(image.GetHeight(), 100u);
        auto alpha = [&](int x, int y) { return int(testsupport::ImagePixel(image.GetHandle(), x, y) >> 24); };
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(testsupport::ImagePixel(image.GetHandle(), x, y) & 0xFFFFFF, 0u) << x << "," << y;
        // Every position outside the rounding has the edge profile.
        for (int along = c.rounding; along < 100 - c.rounding; ++along) {
            for (int d = 0; d < c.size; ++d) {
                ASSERT_EQ(alpha(along, d), c.nearEdges[d]) << "top " << along << "," << d;
                ASSERT_EQ(alpha(d, along), c.nearEdges[d]) << "left " << along << "," << d;
                ASSERT_EQ(alpha(along, 99 - d), c.farEdges[d]) << "bottom " << along << "," << d;
                ASSERT_EQ(alpha(99 - d, along), c.farEdges[d]) << "right " << along << "," << d;
            }
        }
        // Transparent inside, the window's square corners included; the outermost corner pixels fade to 0.
        for (int y = c.size; y < 100 - c.size; ++y)
            for (int x = c.size; x < 100 - c.size; ++x) ASSERT_EQ(alpha(x, y), 0) << x << "," << y;
        for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 99}, {99, 99}}) EXPECT_EQ(alpha(x, y), 0) << x << "," << y;
        // Along the diagonal of a corner the ramp still rises towards the window.
        EXPECT_GT(alpha(c.size - 1, c.size - 1), alpha(c.size / 2, c.size / 2));
    }
}

TEST_F(CarriedData, HeaderPictureDecodesAtTheWindowsSize) {
    std::string jpeg = testsupport::ReadFileBytes(testsupport::BinDir() + "\\header.jpg");
    ASSERT_GT(jpeg.size(), 1000u);
    GdiplusImage image;
    ASSERT_TRUE(image.LoadFromBytes(jpeg));
    EXPECT_EQ(image.GetWidth(), 960u);
    EXPECT_EQ(image.GetHeight(), 540u);
}

TEST_F(CarriedData, DigitalFontRegistersUnderItsFaceName) {
    std::string_view font = DigitalFontData();
    ASSERT_GT(font.size(), 10000u);
    EXPECT_EQ(font.substr(0, 4), std::string_view("\0\1\0\0", 4)) << "a TrueType file";
    DWORD added = 0;
    HANDLE registration = AddFontMemResourceEx(const_cast<char*>(font.data()), DWORD(font.size()), nullptr, &added);
    ASSERT_NE(registration, nullptr);
    EXPECT_EQ(added, 1u);

    EXPECT_TRUE(testsupport::FaceRegistered(kDigitalFontFace));
    HDC screen = GetDC(nullptr);
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    strcpy(wanted.lfFaceName, kDigitalFontFace);
    {
        ScopedGdiObject<HFONT> handle(CreateFontIndirectA(&wanted));
        ScopedSelect select(screen, handle.Get());
        char face[LF_FACESIZE] = {};
        GetTextFaceA(screen, sizeof face, face);
        EXPECT_STREQ(face, "Digital-7 Mono");
    }
    ReleaseDC(nullptr, screen);
    RemoveFontMemResourceEx(registration);
}

}  // namespace
