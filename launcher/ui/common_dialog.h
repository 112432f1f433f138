// The file dialog unit: not shown until asked, then a modal open-file dialog.
#pragma once

#include <windows.h>

#include <string>

struct CommonDlgRow {
    const char* name;
    const char* title;        // GBK
    const char* filter;       // "description|pattern|description|pattern..."
    const char* defaultName;  // file name proposed in the dialog
};

class CommonDlg {
public:
    explicit CommonDlg(const CommonDlgRow& row)
        : name_(row.name),
          title_(row.title ? row.title : ""),
          filter_(row.filter ? row.filter : ""),
          defaultName_(row.defaultName ? row.defaultName : "") {}

    const std::string& Name() const { return name_; }

    // Opens the dialog owned by owner; the chosen file's full path, or empty
    // when the user cancels.
    std::string ShowOpen(HWND owner) const;

private:
    std::string name_, title_, filter_, defaultName_;
};
