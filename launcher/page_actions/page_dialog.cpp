#include "launcher/page_actions/page_dialog.h"

#include "launcher/main_window/page_script.h"

void ShowPageDialog(const std::string& title, const std::string& text, const std::string& icon) {
    RunPageScript("Swal.fire('" + ScriptText(title) + "', '" + ScriptText(text) + "', '" + ScriptText(icon) + "');");
}
