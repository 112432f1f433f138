// loadVersion: the installed client's version, as "version.txt" of the
// client holds it, shown by the page.
#include <string>

#include "launcher/app/globals.h"
#include "launcher/main_window/page_script.h"
#include "launcher/page_actions/page_action_handlers.h"
#include "utilities/text_number.h"
#include "utilities/whole_file.h"

void LoadVersionAction(const std::string&) {
    std::string bytes = ReadWholeFile(FiveMFolder + "\\FiveM.app\\citizen\\version.txt");
    // The text ends at its first zero byte.
    std::string text = bytes.substr(0, bytes.find('\0'));
    std::string version = std::to_string(TextToInteger(text));
    RunPageScript("$('#gameversion').html('" + ScriptText(version) + "');");
}
