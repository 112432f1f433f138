#include "launcher/updater/client_type_dialog.h"

#include "launcher/updater/client_type_dialog_texts.h"
#include "launcher/app/globals.h"
#include "utilities/busy_delay.h"
#include "utilities/window_shadow.h"

namespace {

const COLORREF kBackground = RGB(22, 24, 29);
const COLORREF kFrameLine = RGB(62, 66, 76);

// Ids of the units the dialog makes itself, apart from the layer's.
constexpr int kOwnUnitIds = 2000;

WindowLayout ClientTypeDialogLayout() {
    WindowLayout layout;
    layout.window = {"Quillmere.ClientTypeDialog", kClientTypeDialogTitle, 50,          50,     464, 448,
                     WS_POPUP | WS_SYSMENU,        WS_EX_APPWINDOW,        kBackground, kYaHei, 14,  true};
    // Earlier rows lie on top: texts and buttons before the frames behind them.
    // kind, name, container, left, top, width, height, caption, font, font height, visible, enabled
    layout.units = {
        {UnitKind::SuperBtn, "按钮6", nullptr, 415, 1, 48, 23, kCloseCross, nullptr, 0, true, true},
        {UnitKind::TransLabel, "透明标签1", nullptr, 8, 2, 224, 32, kChooseTypeTitle, nullptr, 16, true, true},
        {UnitKind::Label, "透明标签3", nullptr, 8, 32, 448, 40, kNoClientNotice, nullptr, 0, true, true},
        {UnitKind::Label, "标签1", nullptr, 16, 192, 56, 16, kTypeDescriptionCaption, nullptr, 12, true, true},
        {UnitKind::Label, "透明标签2", nullptr, 16, 212, 432, 100, kPickATypeHint, nullptr, 0, true, true},
        {UnitKind::Label, "标签2", nullptr, 16, 328, 64, 16, kServerCaption, nullptr, 12, true, true},
        {UnitKind::Label, "标签3", nullptr, 40, 352, 168, 24, kDefaultServerText, nullptr, 0, true, true},
        {UnitKind::Label, "标签4", nullptr, 248, 352, 168, 24, kBackupServerLabel, nullptr, 0, true, true},
        // Ignored until a package is chosen: confirming nothing would commit
        // choice 0, and the flow ends the program on 0.
        {UnitKind::SuperBtn, "按钮4", nullptr, 9, 393, 446, 46, kConfirmDownload, nullptr, 16, true, false},
        {UnitKind::ShapeBox, "外形框4", nullptr, 8, 80, 144, 104, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框5", nullptr, 160, 80, 144, 104, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框6", nullptr, 312, 80, 144, 104, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框1", nullptr, 8, 200, 448, 120, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框2", nullptr, 8, 336, 448, 48, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框7", nullptr, 8, 392, 448, 48, nullptr, nullptr, 0, true, true},
        {UnitKind::ShapeBox, "外形框3", nullptr, 0, 0, 464, 448, nullptr, nullptr, 0, true, true},
    };
    return layout;
}

// Radio boxes and plain buttons draw their background through the colour
// messages; this brush keeps them on the dialog's colour.
HBRUSH BackgroundBrush() {
    static ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(kBackground));
    return brush.Get();
}

bool HandleDialogMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    switch (msg) {
        case WM_CLOSE:
            // Closed through the system (Alt+F4, the task bar): the handler decides.
            if (OnClientTypeDialogMayClose()) ClientTypeDialog.Destroy();
            *result = 0;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, kBackground);
            *result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return true;
        }
        default: return false;
    }
}

template <typename T, typename... Extra>
T* AddOwnUnit(Window& window, const UnitRow& row, int id, Extra... extra) {
    auto unit = std::make_unique<T>(&window, row.name);
    if (!unit->Create(window.Handle(), row, id, extra...)) return nullptr;
    // Above the frames the layer made.
    SetWindowPos(unit->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    T* made = unit.get();
    window.AddUnit(std::move(unit));
    return made;
}

// Choice n: what the description label and the confirm button then say.
struct OptionText {
    const char* description;
    const char* confirmCaption;
};
const OptionText kOptionTexts[] = {
    {kFullPackageDescription, kConfirmFullPackage},
    {kFullClientDescription, kConfirmFullClient},
    {kUpdateOnlyDescription, kConfirmUpdateOnly},
    {kCustomClientDescription, kConfirmCustomClient},
};

void SelectOption(int choice) {
    PendingPackageChoice = choice;
    const OptionText& text = kOptionTexts[choice - 1];
    ClientTypeDialog.透明标签2->SetCaption(text.description);
    ClientTypeDialog.按钮4->SetEnabled(true);
    ClientTypeDialog.按钮4->SetCaption(text.confirmCaption);
}

// Server before choice: the flow reads the server once it sees the choice.
void Commit(int server, int choice) {
    ChosenDownloadServer = server;
    PackageChoice = choice;
    WakeBusyWaits();
}

}  // namespace

ClientTypeDialogForm ClientTypeDialog;

ClientTypeDialogForm::ClientTypeDialogForm() : Window(ClientTypeDialogLayout()) {
    WindowCreated = OnClientTypeDialogCreated;
    MessageHook = HandleDialogMessage;
}

void ClientTypeDialogForm::BindUnits() {
    外形框3 = Get<ShapeBox>("外形框3");
    透明标签1 = Get<TransLabel>("透明标签1");
    透明标签3 = Get<Label>("透明标签3");
    按钮6 = Get<SuperBtn>("按钮6");
    透明标签2 = Get<Label>("透明标签2");
    按钮4 = Get<SuperBtn>("按钮4");

    for (const char* frame : {"外形框1", "外形框2", "外形框3", "外形框4", "外形框5", "外形框6", "外形框7"}) {
        ShapeBox* box = Get<ShapeBox>(frame);
        box->SetFillColour(kBackground);
        box->SetLineColour(frame == std::string("外形框3") ? kBackground : kFrameLine);
    }

    int id = kOwnUnitIds;
    // These rows go to the dialog's own unit types; their kind is not read.
    // kind, name, container, left, top, width, height, caption, font, font height, visible, enabled
    const UnitRow fullClient{UnitKind::SuperBtn, "按钮2", nullptr, 9,    81,  142, 102,
                             kFullClientOption,  nullptr, 0,       true, true};
    const UnitRow updateOnly{UnitKind::SuperBtn, "按钮3", nullptr, 161,  81,  142, 102,
                             kUpdateOnlyOption,  nullptr, 0,       true, true};
    const UnitRow customClient{UnitKind::SuperBtn,  "按钮5", nullptr, 313,  81,  142, 102,
                               kCustomClientOption, nullptr, 0,       true, true};
    const UnitRow fullPackage{UnitKind::SuperBtn, "按钮1", nullptr, 504,   112, 104, 104,
                              kFullPackageOption, nullptr, 0,       false, true};
    // Only the box shows: the caption lies beyond the 16 pixels; the label beside it speaks.
    const UnitRow defaultServer{UnitKind::SuperBtn, "单选框1", nullptr, 16,   352, 16, 24,
                                kDefaultServerText, nullptr,   0,       true, true};
    const UnitRow backupServer{UnitKind::SuperBtn, "单选框2", nullptr, 224,  352, 16, 24,
                               kBackupServerText,  nullptr,   0,       true, true};
    按钮2 = AddOwnUnit<OptionBtn>(*this, fullClient, id++);
    按钮3 = AddOwnUnit<OptionBtn>(*this, updateOnly, id++);
    按钮5 = AddOwnUnit<OptionBtn>(*this, customClient, id++);
    按钮1 = AddOwnUnit<PushButton>(*this, fullPackage, id++);
    单选框1 = AddOwnUnit<RadioBox>(*this, defaultServer, id++, true);
    单选框2 = AddOwnUnit<RadioBox>(*this, backupServer, id++, false);
    for (Unit* unit : std::initializer_list<Unit*>{按钮2, 按钮3, 按钮5, 按钮1, 单选框1, 单选框2})
        if (unit) unit->SetFont(kYaHei, 14);

    if (按钮2) 按钮2->Clicked = OnFullClientOptionClicked;
    if (按钮3) 按钮3->Clicked = OnUpdateOnlyOptionClicked;
    if (按钮5) 按钮5->Clicked = OnCustomClientOptionClicked;
    if (按钮1) 按钮1->Clicked = OnFullPackageOptionClicked;
    if (单选框1) {
        单选框1->Selected = OnDefaultServerSelected;
        单选框1->SetChecked(true);  // the server the dialog starts with
    }
    if (单选框2) 单选框2->Selected = OnBackupServerSelected;
    按钮4->Clicked = OnClientTypeConfirmClicked;
    按钮6->Clicked = OnClientTypeDialogCloseClicked;
}

int OnOpenClientTypeDialog(int, int) {
    if (!ClientTypeDialog.Handle() && !ClientTypeDialog.Load(true)) {
        // Without the dialog nobody could answer the waiting flow: end as if
        // the user had closed it.
        Commit(1, 0);
        return 0;
    }
    SetWindowPos(ClientTypeDialog.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // After the move to the top: made topmost later, the owner would be put
    // behind its shadow, which would take the topmost place instead.
    SetWindowShadow(ClientTypeDialog.Handle(), 0, 10);
    return 0;
}

void OnClientTypeDialogCreated() {
    PendingPackageChoice = 0;
    PendingDownloadServer = 1;
}

bool OnClientTypeDialogMayClose() {
    Commit(1, 0);
    return true;
}

void OnFullPackageOptionClicked() { SelectOption(1); }
void OnFullClientOptionClicked() { SelectOption(2); }
void OnUpdateOnlyOptionClicked() { SelectOption(3); }
void OnCustomClientOptionClicked() { SelectOption(4); }

void OnDefaultServerSelected() { PendingDownloadServer = 1; }
void OnBackupServerSelected() { PendingDownloadServer = 2; }

void OnClientTypeConfirmClicked() {
    if (PendingPackageChoice < 1 || PendingPackageChoice > 4) return;
    Commit(PendingDownloadServer, PendingPackageChoice);
    ClientTypeDialog.Destroy();
}

void OnClientTypeDialogCloseClicked() {
    Commit(1, 0);
    ClientTypeDialog.Destroy();
}
