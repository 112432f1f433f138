#include "assets/zipdll/zip_extract.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "unzip.h"
#include "utilities/path_helpers.h"
#include "utilities/text_codepage.h"
#include "utilities/text_search.h"

namespace {

constexpr unsigned long kUtf8NameFlag = 1u << 11;

class ZipReader {
public:
    explicit ZipReader(const std::string& path) : zip_(unzOpen64(path.c_str())) {}
    ~ZipReader() {
        if (zip_) unzClose(zip_);
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    unzFile Get() const { return zip_; }

private:
    unzFile zip_;
};

// Archives from Windows tools name entries in the ANSI code page unless they
// flag the names as UTF-8. "/" and "\" both separate folders; a GBK trail
// byte is never "/", so every one is a separator.
std::string EntryName(const char* raw, unsigned long flags) {
    std::string name = (flags & kUtf8NameFlag) ? Utf8ToAnsi(raw) : std::string(raw);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

bool LeavesFolder(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name.find(':') != std::string::npos) return true;
    std::string rest = name;
    for (;;) {
        size_t slash = FindLastChar(rest, '\\');
        std::string component = slash == std::string::npos ? rest : rest.substr(slash + 1);
        if (component == "..") return true;
        if (slash == std::string::npos) return false;
        rest.resize(slash);
    }
}

bool WriteEntry(unzFile zip, const std::string& target, unsigned long long expectedSize) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
    FILE* out = fopen(target.c_str(), "wb");
    bool ok = out != nullptr;
    std::vector<char> buffer(1 << 16);
    unsigned long long written = 0;
    for (;;) {
        int n = unzReadCurrentFile(zip, buffer.data(), (unsigned)buffer.size());
        if (n < 0) ok = false;
        if (n <= 0) break;
        written += (unsigned)n;
        if (out && fwrite(buffer.data(), 1, (size_t)n, out) != (size_t)n) ok = false;
    }
    if (out && fclose(out) != 0) ok = false;
    // minizip checks the CRC only when the stream ran to its announced size;
    // damaged data that ends the stream early shows only in the length.
    if (unzCloseCurrentFile(zip) != UNZ_OK || written != expectedSize) ok = false;
    return ok;
}

}  // namespace

ZipExtractResult ExtractZipToFolder(const std::string& zipPath, const std::string& folder) {
    ZipReader reader(zipPath);
    unzFile zip = reader.Get();
    if (!zip) return ZipExtractResult::Damaged;
    std::string base = folder;
    if (!EndsWithChar(base, '\\')) base += '\\';
    EnsureDirectory(base);

    bool unsafe = false;
    int step = unzGoToFirstFile(zip);
    while (step == UNZ_OK) {
        unz_file_info64 info;
        char raw[1024];
        if (unzGetCurrentFileInfo64(zip, &info, raw, sizeof raw, nullptr, 0, nullptr, 0) != UNZ_OK)
            return ZipExtractResult::Damaged;
        std::string name = EntryName(raw, info.flag);
        if (LeavesFolder(name)) {
            unsafe = true;
        } else if (EndsWithChar(name, '\\')) {
            EnsureDirectory(base + name);
        } else {
            size_t slash = FindLastChar(name, '\\');
            if (slash != std::string::npos) EnsureDirectory(base + name.substr(0, slash));
            if (!WriteEntry(zip, base + name, info.uncompressed_size)) return ZipExtractResult::Damaged;
        }
        step = unzGoToNextFile(zip);
    }
    if (step != UNZ_END_OF_LIST_OF_FILE) return ZipExtractResult::Damaged;
    return unsafe ? ZipExtractResult::Unsafe : ZipExtractResult::Extracted;
}
