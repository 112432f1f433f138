// The page's SweetAlert2 dialog, the launcher's way of telling the user
// about a page action.
#pragma once

#include <string>

// Runs "Swal.fire('title', 'text', 'icon');" in the page; title and text
// (GBK) are escaped for the script, so fixed texts come out as they are.
void ShowPageDialog(const std::string& title, const std::string& text, const std::string& icon);
