// The pictures and the font made at build time: their shape as the
// painting, the local service and the updater window need it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/digital_font.h"
#include "launcher/app/application_icon.h"
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

#pragma pack(push, 2)
struct IconGroupEntry {  // an entry of an icon group resource
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// launcher.exe carries its icon in six sizes; the size the notification area
// asks for is the brand mark: opaque in the middle, clear at the corners.
TEST_F(CarriedData, LauncherCarriesItsIconInSixSizes) {
    HMODULE launcher =
        LoadLibraryExA((testsupport::BinDir() + "\\launcher.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(launcher, nullptr);
    HRSRC group = FindResourceA(launcher, MAKEINTRESOURCEA(QM_APPLICATION_ICON), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const BYTE* directory = (const BYTE*)LockResource(LoadResource(launcher, group));
    ASSERT_NE(directory, nullptr);
    ASSERT_EQ(*(const WORD*)(directory + 4), 6);
    const IconGroupEntry* entries = (const IconGroupEntry*)(directory + 6);
    std::vector<int> sizes;
    for (int i = 0; i < 6; ++i) {
        sizes.push_back(entries[i].width);
        EXPECT_EQ(entries[i].height, entries[i].width);
        EXPECT_EQ(entries[i].bitCount, 32);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 48, 64}));

    HICON icon = (HICON)LoadImageA(launcher, MAKEINTRESOURCEA(QM_APPLICATION_ICON), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = 16;
    format.bmiHeader.biHeight = -16;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(16 * 16);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, info.hbmColor, 0, 16, pixels.data(), &format, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, screen);
    auto alpha = [&](int x, int y) { return int(pixels[y * 16 + x] >> 24); };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(15, 15), 0);
    auto rgb = [&](int x, int y) { return pixels[y * 16 + x] & 0xFFFFFF; };
    EXPECT_EQ(alpha(2, 8), 255);
    EXPECT_GT(rgb(2, 8) >> 16, rgb(2, 8) & 0xFF) << "the orange to pink ground: more red than blue";
    EXPECT_EQ(alpha(8, 3), 255);
    EXPECT_EQ(rgb(8, 3), 0xFFFFFFu) << "the white letter";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    FreeLibrary(launcher);
}

}  // namespace
