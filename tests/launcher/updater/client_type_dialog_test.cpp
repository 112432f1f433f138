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

using e2e::UnitRect;

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

    bool Click(const UnitRect& unit) {
        bool clicked = false;
        WhileServicing([&] { clicked = driver::ClickAt(pid, kClientTypeDialogTitle, unit.CentreX(), unit.CentreY()); });
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
        UnitRect rect;
        bool visible, enabled;
    };
    const Row table[] = {
        {kChooseTypeTitle, {8, 2, 224, 32}, true, true},
        {kNoClientNotice, {8, 32, 448, 40}, true, true},
        {kCloseCross, e2e::kCloseCross, true, true},
        {kFullClientOption, e2e::kFullClientOption, true, true},
        {kUpdateOnlyOption, e2e::kUpdateOnlyOption, true, true},
        {kCustomClientOption, e2e::kCustomOption, true, true},
        {kFullPackageOption, {504, 112, 104, 104}, false, true},
        {kTypeDescriptionCaption, {16, 192, 56, 16}, true, true},
        {kPickATypeHint, {16, 212, 432, 100}, true, true},
        {kServerCaption, {16, 328, 64, 16}, true, true},
        {kDefaultServerText, e2e::kDefaultServer, true, true},
        {kBackupServerText, e2e::kBackupServer, true, true},
        {kBackupServerLabel, {248, 352, 168, 24}, true, true},
        // Ignored until a package is chosen.
        {kConfirmDownload, e2e::kConfirm, true, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testsupport::Hex(row.text));
        const driver::ChildWindow* child = driver::FindByText(children, AsListed(row.text));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->left, row.rect.left);
        EXPECT_EQ(child->top, row.rect.top);
        EXPECT_EQ(child->width, row.rect.width);
        EXPECT_EQ(child->height, row.rect.height);
        EXPECT_EQ(child->visible, row.visible);
        EXPECT_EQ(child->enabled, row.enabled);
    }
}

struct ChoiceCase {
    const char* name;
    std::vector<UnitRect> clicks;  // before the confirm button
    int choice, server;
    const char* description;
    const char* confirmCaption;
};

class ClientTypeChoice : public ClientTypeDialogTest, public testing::WithParamInterface<ChoiceCase> {};

TEST_P(ClientTypeChoice, ConfirmCommitsTheLastOptionAndServerAndClosesTheDialog) {
    const ChoiceCase& c = GetParam();
    for (const UnitRect& unit : c.clicks) ASSERT_TRUE(Click(unit));
    ASSERT_TRUE(ServiceUntil([&] { return ClientTypeDialog.按钮4->Enabled(); }, 5000));
    EXPECT_EQ(ClientTypeDialog.透明标签2->Caption(), c.description);
    EXPECT_EQ(ClientTypeDialog.按钮4->Caption(), c.confirmCaption);
    EXPECT_EQ(PackageChoice, -1);  // nothing committed before the confirm

    ASSERT_TRUE(Click(e2e::kConfirm));
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, c.choice);
    EXPECT_EQ(ChosenDownloadServer, c.server);
    EXPECT_NE(StartupWindow.Handle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ClientTypeChoice,
    testing::Values(
        ChoiceCase{"FullClient", {e2e::kFullClientOption}, 2, 1, kFullClientDescription, kConfirmFullClient},
        ChoiceCase{"UpdateOnly", {e2e::kUpdateOnlyOption}, 3, 1, kUpdateOnlyDescription, kConfirmUpdateOnly},
        ChoiceCase{"CustomClient", {e2e::kCustomOption}, 4, 1, kCustomClientDescription, kConfirmCustomClient},
        ChoiceCase{"LastOptionWins",
                   {e2e::kUpdateOnlyOption, e2e::kFullClientOption},
                   2,
                   1,
                   kFullClientDescription,
                   kConfirmFullClient},
        ChoiceCase{"BackupServer",
                   {e2e::kBackupServer, e2e::kFullClientOption},
                   2,
                   2,
                   kFullClientDescription,
                   kConfirmFullClient},
        ChoiceCase{"BackupThenDefaultServer",
                   {e2e::kBackupServer, e2e::kCustomOption, e2e::kDefaultServer},
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
    ASSERT_TRUE(Click(e2e::kConfirm));
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 1);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, ConfirmWithNothingChosenIsIgnored) {
    // The button is disabled, so a user's click does not reach it...
    EXPECT_FALSE(Click(e2e::kConfirm));
    // ...and its handler refuses as well, should a click reach it anyway.
    OnClientTypeConfirmClicked();
    ASSERT_TRUE(testsupport::ServicePostedMessages());
    EXPECT_EQ(PackageChoice, -1);
    EXPECT_NE(ClientTypeDialog.Handle(), nullptr);
    EXPECT_EQ(ClientTypeDialog.透明标签2->Caption(), kPickATypeHint);
}

TEST_F(ClientTypeDialogTest, CrossButtonCommitsExitWithTheDefaultServer) {
    ASSERT_TRUE(Click(e2e::kBackupServer));
    ASSERT_TRUE(Click(e2e::kFullClientOption));
    bool clicked = false;
    WhileServicing([&] { clicked = driver::ClickButton(pid, kClientTypeDialogTitle, kCloseCross); });
    ASSERT_TRUE(clicked);
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 0);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, SystemCloseCommitsExitWithTheDefaultServer) {
    ASSERT_TRUE(Click(e2e::kBackupServer));
    bool closed = false;
    WhileServicing([&] { closed = driver::CloseWindow(pid, kClientTypeDialogTitle); });
    ASSERT_TRUE(closed);
    ASSERT_TRUE(Committed());
    EXPECT_EQ(PackageChoice, 0);
    EXPECT_EQ(ChosenDownloadServer, 1);
}

TEST_F(ClientTypeDialogTest, ConfirmedChoiceIsNotOverwrittenWhenTheDialogGoes) {
    ASSERT_TRUE(Click(e2e::kUpdateOnlyOption));
    ASSERT_TRUE(Click(e2e::kConfirm));
    ASSERT_TRUE(Committed());
    // Destroying it from the handler raised no close event: still choice 3
    // once everything that was posted meanwhile has run.
    ASSERT_TRUE(testsupport::ServicePostedMessages());
    EXPECT_EQ(PackageChoice, 3);
}

}  // namespace
