// The web view library's pieces that need no engine: saved property data,
// folder and agent-string rules, the engine's candidate path, the Shlwapi
// lookup, text conversions and the paint surface.
#include "utilities/text_codepage.h"
#include "webview/engine_loader.h"
#include "webview/file_dialog_request.h"
#include "webview/view_events.h"
#include "webview/paint_surface.h"
#include "webview/saved_properties.h"
#include "webview/text_conversion.h"
#include "webview/unit_events.h"
#include "webview/unit_properties.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

using testsupport::Bytes;
using testsupport::Hex;

namespace {

SavedUnitProperties Sample() {
    SavedUnitProperties p;
    p.version = 1;
    p.noF5Reload = 1;
    p.cookieEnabled = 0;
    p.url = "http://a/";
    p.cacheFolder = "C:\\c\\";
    p.cookieFolder = "";
    p.userAgent = "UA";
    p.allowNewWindows = 1;
    return p;
}

// Saved data placed right before an inaccessible page, so that reading one
// byte past its end faults.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<char*>(VirtualAlloc(nullptr, page_ * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        data_ = base_ + page_ - bytes.size();
        std::memcpy(data_, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
    const void* data() const { return data_; }

private:
    char* base_;
    char* data_;
    size_t page_;
};

TEST(SavedProperties, WritesTheVersionOneLayout) {
    std::string expected = Bytes({1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}) + std::string("http://a/\0C:\\c\\\0\0UA\0", 20) +
                           Bytes({1, 0, 0, 0});
    EXPECT_EQ(Hex(WriteSavedProperties(Sample())), Hex(expected));
}

TEST(SavedProperties, ReadsBackWhatWasWritten) {
    std::string bytes = WriteSavedProperties(Sample());
    SavedUnitProperties read;
    ASSERT_TRUE(ReadSavedProperties(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.version, 1u);
    EXPECT_EQ(read.noF5Reload, 1u);
    EXPECT_EQ(read.cookieEnabled, 0u);
    EXPECT_EQ(read.url, "http://a/");
    EXPECT_EQ(read.cacheFolder, "C:\\c\\");
    EXPECT_EQ(read.cookieFolder, "");
    EXPECT_EQ(read.userAgent, "UA");
    EXPECT_EQ(read.allowNewWindows, 1u);
}

TEST(SavedProperties, NewerFormatIsRefused) {
    std::string bytes = WriteSavedProperties(Sample());
    bytes[0] = 2;
    SavedUnitProperties read;
    EXPECT_FALSE(ReadSavedProperties(bytes.data(), bytes.size(), read));
}

TEST(SavedProperties, DataCutShortReadsZeroAndEmptyWithoutReadingPastItsEnd) {
    const std::string full = WriteSavedProperties(Sample());
    // Every cut, including those inside a 32-bit field and inside a text
    // whose zero byte is then missing.
    for (size_t length = 1; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        GuardedBytes data(full.substr(0, length));
        SavedUnitProperties read;
        ASSERT_TRUE(ReadSavedProperties(data.data(), length, read));
        EXPECT_EQ(read.allowNewWindows, 0u) << "the last field lies beyond every cut";
        if (length < 8) {
            EXPECT_EQ(read.noF5Reload, 0u);
        }
        if (length < 12) {
            EXPECT_EQ(read.url, "");
        }
        if (length > 12 && length < 21) {
            EXPECT_EQ(read.url, full.substr(12, length - 12)) << "cut inside the url";
        }
    }
}

TEST(SavedProperties, BlockHoldsExactlyTheBytes) {
    size_t length = 0;
    HGLOBAL block = SavedPropertiesBlock(Sample(), &length);
    ASSERT_NE(block, nullptr);
    std::string expected = WriteSavedProperties(Sample());
    ASSERT_EQ(length, expected.size());
    EXPECT_GE(GlobalSize(block), length);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(std::string(bytes, length), expected);
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST(UnitProperties, FolderNormalisation) {
    struct {
        const char* text;
        const char* base;
        const char* stored;
    } cases[] = {
        {"C:\\cache", "", "C:\\cache\\"},
        {"C:\\cache\\", "", "C:\\cache\\"},
        {"cache", "", "cache\\"},
        {"cache", "D:\\app\\", "D:\\app\\cache\\"},
        {"", "D:\\app\\", ""},  // no folder stays no folder, never the drive root
        {"", "", ""},
        {"\xBB\xBA\xB4\xE6" /* 缓存 */, "D:\\app\\", "D:\\app\\\xBB\xBA\xB4\xE6\\"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " | " + c.base);
        EXPECT_EQ(NormaliseFolder(c.text, c.base), c.stored);
    }
}

TEST(UnitProperties, AgentLabelsGiveTheirStrings) {
    const std::string chrome =
        "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/69.0.3497.100 "
        "Safari/537.36";
    struct {
        std::string label, agent;
    } cases[] = {
        {"Winsows Chrome", chrome},
        {"\xC4\xAC\xC8\xCFUA" /* 默认UA */, chrome},
        {"Winsows IE7", "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 10.0; WOW64)"},
        {"Winsows Firefox", "Mozilla/5.0 (Windows NT 10.0; WOW64; rv:6.0) Gecko/20100101 Firefox/6.0"},
        {"\xB0\xB2\xD7\xBFGalaxy S5" /* 安卓Galaxy S5 */,
         "Mozilla/5.0 (Linux; Android 5.0; SM-G900P Build/LRX21T) AppleWebKit/537.36 (KHTML, like Gecko) "
         "Chrome/69.0.3497.100 Mobile Safari/537.36"},
        {"Windows Chrome", "Windows Chrome"},  // only the saved spelling is a label
        {"iphone x", "iphone x"},
        {"", ""},
        {"MyAgent/2.0", "MyAgent/2.0"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(AgentStringOfLabel(c.label), c.agent);
    }
}

TEST(EngineLocation, CandidatePathUsesTheParentOnlyForALibFolder) {
    struct {
        const wchar_t* folder;
        const wchar_t* candidate;
    } cases[] = {
        {L"C:\\app\\", L"C:\\app\\node.dll"},
        {L"C:\\app\\lib\\", L"C:\\app\\node.dll"},
        {L"C:\\lib\\", L"C:\\node.dll"},
        {L"C:\\app\\Calib\\", L"C:\\app\\Calib\\node.dll"},
        {L"C:\\app\\mylib\\", L"C:\\app\\mylib\\node.dll"},
        {L"C:\\app\\Lib\\", L"C:\\app\\Lib\\node.dll"},  // compared case-sensitively
        {L"C:\\app\\lib\\x\\", L"C:\\app\\lib\\x\\node.dll"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.folder)));
        EXPECT_EQ(EngineDllCandidate(c.folder), c.candidate);
    }
}

TEST(EngineLocation, MissingShlwapiOrFunctionCountsAsNotFound) {
    testsupport::TempFolder folder;
    ASSERT_TRUE(testsupport::WriteFileBytes(folder.File("node.dll"), "x"));
    std::wstring present = GbkToWide(folder.File("node.dll"));
    EXPECT_TRUE(ShlwapiPathExists(present));
    EXPECT_FALSE(ShlwapiPathExists(GbkToWide(folder.File("absent.dll"))));
    EXPECT_FALSE(ShlwapiPathExists(present, L"NoSuchShlwapi.dll"));
    EXPECT_FALSE(ShlwapiPathExists(present, L"Shlwapi.dll", "NoSuchFunctionW"));
}

TEST(EngineLocation, EngineIsNotLoadedBeforeItIsNeeded) {
    SetEngineDllPath("C:\\nowhere\\node.dll");
    EXPECT_EQ(EngineDllPath(), L"C:\\nowhere\\node.dll");
    SetEngineDllPath("");
    EXPECT_TRUE(EngineDllPath().empty()) << "an empty path counts as not set";
    NotifyProgramEnding();
    EXPECT_FALSE(EngineLoaded()) << "the end-of-program notice does not load the engine";
}

TEST(TextConversion, ChineseRoundTripsBetweenGbkUtf16AndUtf8) {
    const std::string gbk = "\xD6\xD0\xCE\xC4 abc";  // 中文 abc
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87 abc";
    EXPECT_EQ(GbkToWide(gbk), L"\u4e2d\u6587 abc");
    EXPECT_EQ(WideToGbk(L"\u4e2d\u6587 abc"), gbk);
    EXPECT_EQ(Hex(AnsiToUtf8(gbk)), Hex(utf8));
    EXPECT_EQ(Hex(Utf8ToAnsi(utf8)), Hex(gbk));
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(WideToGbk(nullptr), "");
}

TEST(PaintSurfaceCopy, RebuildsOnlyFromAFullSizeReportAndCopiesTheEngineDrawing) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PaintSurface surface;
    surface.AttachToWindow(window);
    EXPECT_EQ(surface.width(), 40);
    EXPECT_EQ(surface.height(), 30);
    HDC screen = GetDC(nullptr);
    HDC engineDc = CreateCompatibleDC(screen);
    HBITMAP engineBitmap = CreateCompatibleBitmap(screen, 40, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(engineDc, engineBitmap);
    RECT all = {0, 0, 40, 30};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(engineDc, &all, red);
    EXPECT_TRUE(surface.Update(engineDc, 0, 0, 10, 10));
    EXPECT_EQ(GetPixel(surface.memoryDc(), 5, 5), CLR_INVALID) << "a partial report cannot rebuild the bitmap";
    EXPECT_TRUE(surface.Update(engineDc, 0, 0, 40, 30));
    EXPECT_EQ(GetPixel(surface.memoryDc(), 39, 29), RGB(255, 0, 0));
    SelectObject(engineDc, old);
    DeleteObject(red);
    DeleteObject(engineBitmap);
    DeleteDC(engineDc);
    DestroyWindow(window);
}

TEST(UnitEventDispatch, HandlerResultsAndFailures) {
    UnitEvent event;
    event.formId = 77;
    event.unitId = 1;
    event.number = kEventConfirmBox;
    EventOutcome none = RaiseUnitEvent(event);
    EXPECT_FALSE(none.handled);
    BindUnitEvent(77, 1, kEventConfirmBox, [](UnitEvent&) -> std::optional<int> { return 0; });
    EventOutcome zero = RaiseUnitEvent(event);
    EXPECT_TRUE(zero.handled && zero.hasValue && zero.value == 0);
    UnbindUnitEvents(77, 1);
    EXPECT_FALSE(RaiseUnitEvent(event).handled);
}

int systemDialogCalls = 0;
std::wstring systemDialogSaw;
BOOL WINAPI FakeSystemDialog(OPENFILENAMEW* dialog) {
    ++systemDialogCalls;
    systemDialogSaw = dialog->lpstrFile;
    return FALSE;  // the user cancelled
}

TEST(FileDialogRequest, HandlerNameReachesTheCallerOnlyWhenItFitsWhole) {
    constexpr int kBufferUnits = 12;
    struct {
        const char* name;
        bool bind;
        std::optional<int> answer;
        std::string fileName;  // GBK, as the handler sets it
        BOOL result;
        int dialogShown;
        std::wstring buffer;  // what the caller's buffer holds afterwards ("old": untouched)
        WORD fileOffset, extensionOffset;
    } cases[] = {
        {"no handler: the dialog, buffer untouched", false, std::nullopt, "", FALSE, 1, L"old", 0, 0},
        {"false: chosen without a dialog", true, 0, "C:\\d\\a.txt", TRUE, 0, L"C:\\d\\a.txt", 5, 7},
        {"false, no extension", true, 0, "C:\\d\\a", TRUE, 0, L"C:\\d\\a", 5, 6},
        {"false, ends in a dot", true, 0, "a.", TRUE, 0, L"a.", 0, 0},
        {"false, the longest name that fits", true, 0, "0123456789", TRUE, 0, L"0123456789", 0, 10},
        {"false, one character more: not cut", true, 0, "0123456789a", FALSE, 0, L"old", 0, 0},
        {"false, empty name: cancelled", true, 0, "", FALSE, 0, L"", 0, 0},
        {"true: dialog with the initial name", true, 1, "\xD6\xD0.txt" /* 中.txt */, FALSE, 1, L"\u4e2d.txt", 0, 2},
        {"no value: dialog", true, std::nullopt, "b", FALSE, 1, L"b", 0, 1},
    };
    WebViewUnitState state;
    state.formId = 88;
    state.unitId = 1;
    WebViewUnitState* previous = FileDialogUnit;
    FileDialogUnit = &state;
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnbindUnitEvents(88, 1);
        if (c.bind) {
            std::string fileName = c.fileName;
            std::optional<int> answer = c.answer;
            BindUnitEvent(88, 1, kEventFileDialogRequest, [fileName, answer](UnitEvent& event) -> std::optional<int> {
                EXPECT_EQ(event.Text(0), "") << "empty at first";
                event.Text(0) = fileName;
                return answer;
            });
        }
        wchar_t buffer[kBufferUnits + 1];
        wmemset(buffer, L'#', kBufferUnits + 1);
        wcscpy(buffer, L"old");
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.lpstrFile = buffer;
        dialog.nMaxFile = kBufferUnits;
        systemDialogCalls = 0;
        EXPECT_EQ(AnswerFileDialogRequest(&dialog, FakeSystemDialog), c.result);
        EXPECT_EQ(systemDialogCalls, c.dialogShown);
        EXPECT_EQ(std::wstring(buffer), c.buffer);
        if (c.buffer != L"old") {
            EXPECT_EQ(buffer[c.buffer.size() + 1], L'\0') << "double terminating zero";
        }
        EXPECT_EQ(buffer[kBufferUnits], L'#') << "nothing written past the buffer";
        EXPECT_EQ(dialog.nFileOffset, c.fileOffset);
        EXPECT_EQ(dialog.nFileExtension, c.extensionOffset);
        if (c.dialogShown) {
            EXPECT_EQ(systemDialogSaw, c.buffer) << "the name stands as the initial file name";
        }
    }
    UnbindUnitEvents(88, 1);
    FileDialogUnit = previous;
}

}  // namespace
