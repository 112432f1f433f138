#include "launcher/ui/common_dialog.h"

#include <commdlg.h>

#include <vector>

#include "utilities/text_search.h"

std::string CommonDlg::ShowOpen(HWND owner) const {
    // The system wants the filter's pieces separated by zero bytes and ended by two.
    // A GBK trail byte may be 0x7C, so only "|" at a character start counts.
    std::string filter = filter_;
    for (size_t i = 0; i < filter.size(); ++i) {
        if (IsGbkLeadByte((unsigned char)filter[i]))
            ++i;
        else if (filter[i] == '|')
            filter[i] = '\0';
    }
    filter.append(2, '\0');

    std::vector<char> file(MAX_PATH * 4, '\0');
    defaultName_.copy(file.data(), file.size() - 1);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = (DWORD)file.size();
    ofn.lpstrTitle = title_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn)) return {};
    return file.data();
}
