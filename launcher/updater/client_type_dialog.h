// ClientTypeDialog, the package-choice dialog: asks a user without a client
// what to install (full package, full client, update-only package or an
// existing FiveM folder) and from which server. The update flow opens it
// through StartupWindow's 标签1 and polls PackageChoice (-1 while it is open);
// the dialog commits ChosenDownloadServer first, then PackageChoice, so the
// flow never sees a choice without its server.
#pragma once

#include "launcher/updater/client_type_dialog_units.h"
#include "launcher/ui/labels.h"
#include "launcher/ui/shape_box.h"
#include "launcher/ui/window.h"

class ClientTypeDialogForm : public Window {
public:
    ClientTypeDialogForm();

    ShapeBox* 外形框3 = nullptr;  // background
    TransLabel* 透明标签1 = nullptr;
    // The two long texts wrap, which the layer's transparent label (one
    // line) does not; they are labels, painted the same way.
    Label* 透明标签3 = nullptr;
    SuperBtn* 按钮6 = nullptr;    // "×"
    OptionBtn* 按钮2 = nullptr;   // full client (2)
    OptionBtn* 按钮3 = nullptr;   // update-only package (3)
    OptionBtn* 按钮5 = nullptr;   // existing FiveM folder (4)
    PushButton* 按钮1 = nullptr;  // full package (1); hidden outside the client area
    Label* 透明标签2 = nullptr;   // description of the selected option
    RadioBox* 单选框1 = nullptr;  // default server (1)
    RadioBox* 单选框2 = nullptr;  // backup server (2)
    SuperBtn* 按钮4 = nullptr;    // confirm

protected:
    void BindUnits() override;
};

extern ClientTypeDialogForm ClientTypeDialog;

// FeedbackEvent of StartupWindow's 标签1: opens the dialog, not modal, on the
// UI thread and returns at once. The two numbers and the result are unused.
int OnOpenClientTypeDialog(int a, int b);

// Window events.
void OnClientTypeDialogCreated();
bool OnClientTypeDialogMayClose();

// Unit handlers.
void OnFullPackageOptionClicked();
void OnFullClientOptionClicked();
void OnUpdateOnlyOptionClicked();
void OnCustomClientOptionClicked();
void OnDefaultServerSelected();
void OnBackupServerSelected();
void OnClientTypeConfirmClicked();
void OnClientTypeDialogCloseClicked();
