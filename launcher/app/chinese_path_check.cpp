#include "launcher/app/chinese_path_check.h"

#include "launcher/app/program_folder.h"

bool PathHasChineseChar(std::wstring_view path) {
    // The range of the pattern "[\u4e00-\u9fa5]". Tested on UTF-16 units
    // directly: the regular-expression object takes its subject through the
    // ANSI code page, which is the very conversion that loses them.
    for (wchar_t unit : path)
        if (unit >= 0x4E00 && unit <= 0x9FA5) return true;
    return false;
}

bool ProgramFolderHasChineseChar() { return PathHasChineseChar(ProgramFolderWide()); }
