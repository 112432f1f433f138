// The speed line's seven-segment font: written once into "launcher_cache",
// registered, given to the label, mended when a file cannot be registered,
// left alone when the window is gone, and taken back when the window goes.
#include <string>

#include "assets/digital_font.h"
#include "launcher/updater/digital_font_install.h"
#include "support/font_faces.h"
#include "updater_window_fixture.h"
#include "utilities/path_helpers.h"
#include "utilities/whole_file.h"

namespace {

bool FaceRegistered() { return testsupport::FaceRegistered(kDigitalFontFace); }

// The face the label's font really draws with.
std::string LabelFace() {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, StartupWindow.下载速度->Font());
    char face[LF_FACESIZE] = {};
    GetTextFaceA(screen, sizeof face, face);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return face;
}

class DigitalFont : public UpdaterWindowTest {
protected:
    void TearDown() override {
        // The font must not stay registered for the next case.
        while (RemoveFontFile(DigitalFontPath())) {
        }
        UpdaterWindowTest::TearDown();
    }
    const std::string carried{DigitalFontData()};
};

struct FontCase {
    const char* name;
    const char* before;  // "carried+": the carried font with bytes after it; "half": its first 1000 bytes; null: none
    bool rewritten;
};

TEST_F(DigitalFont, WrittenOnceRegisteredAndGivenToTheSpeedLine) {
    const FontCase cases[] = {
        {"first start", nullptr, true},
        {"a file of an earlier start stays as it is", "carried+", false},
        {"a half-written file is written again", "half", true},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string before;
        if (c.before) before = std::string(c.before) == "half" ? carried.substr(0, 1000) : carried + "trailing";
        if (c.before) {
            ASSERT_TRUE(WriteWholeFile(DigitalFontPath(), before));
        }
        testsupport::WhileServicing(InstallDigitalFont);
        EXPECT_EQ(ReadWholeFile(DigitalFontPath()), c.rewritten ? carried : before);
        EXPECT_TRUE(FaceRegistered());
        EXPECT_EQ(LabelFace(), "Digital-7 Mono");
        while (RemoveFontFile(DigitalFontPath())) {
        }
        DeleteFileA(DigitalFontPath().c_str());
    }
}

TEST_F(DigitalFont, RemovedWhenTheUpdaterWindowGoesAlsoAfterTheFiveMFolderChanged) {
    testsupport::WhileServicing(InstallDigitalFont);
    ASSERT_TRUE(FaceRegistered());
    const std::string path = DigitalFontPath();
    // The user picks an existing FiveM folder after the font went in.
    const std::string firstFolder = FiveMFolder;
    FiveMFolder += "\\chosen";
    StartupWindow.Destroy();
    FiveMFolder = firstFolder;
    EXPECT_FALSE(FaceRegistered());
    EXPECT_TRUE(FileExists(path)) << "the file stays for later starts";
}

// The window goes while the installer waits, and its removal of the font
// runs then. A window there again when the wait ends (as in a test that
// loads it anew) must not make the installer register a font no one takes
// back.
DWORD replacedAt = 0;
VOID CALLBACK ReplaceWindowDuringTheDelay(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    StartupWindow.Destroy();
    LoadStartupWindow();
    replacedAt = GetTickCount();
}

TEST_F(DigitalFont, NothingHappensWhenTheWindowGoesBeforeTheDelayEnds) {
    const std::string path = DigitalFontPath();
    StartupWindow.Destroy();
    testsupport::WhileServicing(InstallDigitalFont);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FaceRegistered());

    testsupport::DiscardPendingMessages();  // the quit request of the last window's end
    ASSERT_TRUE(LoadStartupWindow());
    // Run here, so the timer fires inside the installer's own wait.
    ASSERT_NE(SetTimer(nullptr, 0, 1000, ReplaceWindowDuringTheDelay), 0u);
    replacedAt = 0;
    const DWORD start = GetTickCount();
    InstallDigitalFont();
    ASSERT_NE(replacedAt, 0u);
    EXPECT_LT(replacedAt - start, 2000u) << "the window was replaced during the wait";
    EXPECT_NE(StartupWindow.Handle(), nullptr);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FaceRegistered());
}

}  // namespace
