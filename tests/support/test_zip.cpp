#include "support/test_zip.h"

#include "zip.h"

namespace testsupport {

bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries, bool utf8Names) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const ZipEntry& e : entries) {
        zip_fileinfo info = {};
        ok = ok && zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                           Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                           nullptr, 0, 0, utf8Names ? (1u << 11) : 0, 0) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, e.content.data(), (unsigned)e.content.size()) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace testsupport
