// The package-choice dialog opened as the update flow opens it (StartupWindow's
// 标签1 raised from a worker) and answered through test_driver.exe.
#include <string>
#include <vector>

#include "driver/driver_client.h"
#include "launcher/updater/client_type_dialog_texts.h"
#include "updater_window_fixture.h"

namespace {

using testsupport::ServiceUntil;
using testsupport::WhileServicing;

// Client-area points of the units a user clicks.
struct Point {
    int x, y;
};
const Point kFullClient{80, 130};    // 按钮2
const Point kUpdateOnly{232, 130};   // 按钮3
const Point kCustomClient{384, 130};  // 按钮5
const Point kDefaultServer{24, 364};  // 单选框1
const Point kBackupServer{232, 364};  // 单选框2
const Point kConfirm{230, 415};       // 按钮4

// A caption as the driver prints it: control characters as \xNN.
std::string AsListed(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20) {
            out += (char)c;
            continue;
        }
        char escaped[8];
        snprintf(escaped, sizeof escaped, "\\x%02X", c);
        out += escaped;
    }
    return out;
}

class ClientTypeDialogTest : public UpdaterWindowTest {
protected:
    void SetUp() override {
        UpdaterWindowTest::SetUp();
        PackageChoice = -1;
        ChosenDownloadServer = -1;
        int result = -1;
        // As the flow does: raise and wait; the handler returns at once.
        WhileServicing([&] { result = RaiseFeedbackEvent(StartupWindow.标签1, 0, 0, true); });
        EXPECT_EQ(result, 0);
        ASSERT_NE(ClientTypeDialog.Handle(), nullptr);
    }

    bool Click(Point at) {
        bool clicked = false;
        WhileServicing([&] { clicked = driver::ClickAt(pid, kClientTypeDialogTitle, at.x, at.y); });
        return clicked;
    }
    bool Committed() {
        return ServiceUntil([] { return PackageChoice != -1 && ClientTypeDialog.Handle() == nullptr; }, 5000);
    }
};

TEST_F(ClientTypeDialogTest, OpensTopmostWithEveryUnitWhereTheLayoutPutsIt) {
    EXPECT_TRUE(GetWindowLongA(ClientTypeDialog.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r{};
    GetWindowRect(ClientTypeDialog.Handle(), &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 464);
    EXPECT_EQ(r.bottom - r.top, 448);
    HWND shadow = reinterpret_cast<HWND>(GetPropA(ClientTypeDialog.Handle(), "Lumen.WndShadow"));
    ASSERT_TRUE(IsWindow(shadow)) << "the dialog has its drop shadow";
    GetWindowRect(shadow, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right - r.left, 484);
    EXPECT_EQ(PendingPackageChoice, 0);
    EXPECT_EQ(PendingDownloadServer, 1);

    std::vector<driver::ChildWindow> children;
    WhileServicing([&] { children = driver::ListChildren(pid, kClientTypeDialogTitle); });
    struct Row {
        const char* text;
        int left, top, width, height;
        bool visible, enabled;
    };
    const Row table[] = {
        {kChooseTypeTitle, 8, 2, 224, 32, true, true},
        {kNoClientNotice, 8, 32, 448, 40, true, true},
        {kCloseCross, 415, 1, 48, 23, true, true},
        {kFullClientOption, 9, 81, 142, 102, true, true},
        {kUpdateOnlyOption, 161, 81, 142, 102, true, true},
        {kCustomClientOption, 313, 81, 142, 102, true, true},
        {kFullPackageOption, 504, 112, 104, 104, false, true},
        {kTypeDescriptionCaption, 16, 192, 56, 16, true, true},
        {kPickATypeHint, 16, 212, 432, 100, true, true},
        {kServerCaption, 16, 328, 64, 16, true, true},
        {kDefaultServerText, 16, 352, 16, 24, true, true},
        {kBackupServerText, 224, 352, 16, 24, true, true},
        {kBackupServerLabel, 248, 352, 168, 24, true, true},
        // Ignored until a package is chosen.
        {kConfirmDownload, 9, 393, 446, 46, true, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testsupport::Hex(row.text));
        const driver::ChildWindow* child = driver::FindByText(children, AsListed(row.text));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->left, row.left);
        EXPECT_EQ(child->top, row.top);
        EXPECT_EQ(child->width, row.width);
        EXPECT_EQ(child->height, row.height);
        EXPECT_EQ(child->visible, row.visible);
        EXPECT_EQ(child->enabled, row.enabled);
    }
}

struct ChoiceCase {
    const char* name;
    std::vector<Point> clicks;  // before the confirm button
    int choice, server;
    const char* description;
    const char* confirmCaption;
};

class ClientTypeChoice : public ClientTypeDialogTest, public testing::WithParamInterface<ChoiceCase> {};

TEST_P(ClientTypeChoice, ConfirmCommitsTheLastOptionAndServerAndClosesTheDialog) {
    const ChoiceCase& c = GetParam();
    for (Point at : c.clicks) ASSERT_TRUE(Click(at));
    ASSERT_TRUE(ServiceUntil([&] { return ClientTypeDialog.按钮4->Enabled(); }, 5000));
    EXPECT_EQ(ClientTypeDialog.透明标签2->Caption(), c.description);
    EXPECT_EQ(ClientTypeDialog.按钮4->Caption(), c.confirmCaption);
    EXPECT_EQ(PackageChoice, -1);  // nothing committed before the confirm

    ASSERT_TRUE(Click(kConfirm));
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, c.choice);
    EXPECT_EQ(ChosenDownloadServer, c.server);
    EXPECT_NE(StartupWindow.Handle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ClientTypeChoice,
    testing::Values(
        ChoiceCase{"FullClient", {kFullClient}, 2, 1, kFullClientDescription, kConfirmFullClient},
        ChoiceCase{"UpdateOnly", {kUpdateOnly}, 3, 1, kUpdateOnlyDescription, kConfirmUpdateOnly},
        ChoiceCase{"CustomClient", {kCustomClient}, 4, 1, kCustomClientDescription, kConfirmCustomClient},
        ChoiceCase{"LastOptionWins", {kUpdateOnly, kFullClient}, 2, 1, kFullClientDescription, kConfirmFullClient},
        ChoiceCase{"BackupServer", {kBackupServer, kFullClient}, 2, 2, kFullClientDescription, kConfirmFullClient},
        ChoiceCase{"BackupThenDefaultServer",
                   {kBackupServer, kCustomClient, kDefaultServer},
                   4,
                   1,
                   kCustomClientDescription,
                   kConfirmCustomClient}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST_F(ClientTypeDialogTest, HiddenFullPackageOptionCommitsChoiceOne) {
    // Hidden outside the client area, no user can click it: its notification
    // is sent as the button would send it.
    HWND button = ClientTypeDialog.按钮1->Handle();
    SendMessageA(ClientTypeDialog.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
    EXPECT_EQ(ClientTypeDialog.透明标签2->Caption(), kFullPackageDescription);
    EXPECT_EQ(ClientTypeDialog.按钮4->Caption(), kConfirmFullPackage);
    ASSERT_TRUE(Click(kConfirm));
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 1);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, ConfirmWithNothingChosenIsIgnored) {
    // The button is disabled, so a user's click does not reach it...
    EXPECT_FALSE(Click(kConfirm));
    // ...and its handler refuses as well, should a click reach it anyway.
    OnClientTypeConfirmClicked();
    ServiceUntil([] { return false; }, 200);
    EXPECT_EQ(PackageChoice, -1);
    EXPECT_NE(ClientTypeDialog.Handle(), nullptr);
    EXPECT_EQ(ClientTypeDialog.透明标签2->Caption(), kPickATypeHint);
}

TEST_F(ClientTypeDialogTest, CrossButtonCommitsExitWithTheDefaultServer) {
    ASSERT_TRUE(Click(kBackupServer));
    ASSERT_TRUE(Click(kFullClient));
    bool clicked = false;
    WhileServicing([&] { clicked = driver::ClickButton(pid, kClientTypeDialogTitle, kCloseCross); });
    ASSERT_TRUE(clicked);
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 0);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, SystemCloseCommitsExitWithTheDefaultServer) {
    ASSERT_TRUE(Click(kBackupServer));
    bool closed = false;
    WhileServicing([&] { closed = driver::CloseWindow(pid, kClientTypeDialogTitle); });
    ASSERT_TRUE(closed);
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 0);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, ConfirmedChoiceIsNotOverwrittenWhenTheDialogGoes) {
    ASSERT_TRUE(Click(kUpdateOnly));
    ASSERT_TRUE(Click(kConfirm));
    ASSERT_TRUE(Committed());
    // Destroying it from the handler raised no close event: still choice 3.
    ServiceUntil([] { return false; }, 200);
    EXPECT_EQ(PackageChoice, 3);
}

}  // namespace
