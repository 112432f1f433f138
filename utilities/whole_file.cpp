#include "utilities/whole_file.h"

#include <windows.h>

#include "utilities/win_handles.h"

std::string ReadWholeFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return {};
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) || read == 0) break;
        content.append(buffer, read);
    }
    return content;
}

bool WriteWholeFile(const std::string& path, const void* bytes, size_t size) {
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes, (DWORD)size, &written, nullptr) && written == size;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    return WriteWholeFile(path, bytes.data(), bytes.size());
}

void DeleteFilePath(const std::string& path) { DeleteFileA(path.c_str()); }

bool WriteWholeFileThrough(const std::string& temporary, const std::string& path, const void* bytes, size_t size,
                           bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (WriteWholeFile(temporary, bytes, size) && MoveFileExA(temporary.c_str(), path.c_str(), flags)) return true;
    DeleteFilePath(temporary);
    return false;
}
