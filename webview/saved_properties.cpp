#include "webview/saved_properties.h"

#include <cstring>
#include <new>

namespace {

class Reader {
public:
    Reader(const void* data, size_t length) : data_(static_cast<const unsigned char*>(data)), length_(length) {}

    uint32_t Word() {
        if (position_ > length_ || length_ - position_ < 4) {
            position_ = length_;
            return 0;
        }
        uint32_t value = data_[position_] | data_[position_ + 1] << 8 | data_[position_ + 2] << 16 |
                         (uint32_t)data_[position_ + 3] << 24;
        position_ += 4;
        return value;
    }

    std::string Text() {
        if (position_ >= length_) return {};
        const unsigned char* start = data_ + position_;
        const void* zero = std::memchr(start, 0, length_ - position_);
        size_t size = zero ? static_cast<const unsigned char*>(zero) - start : length_ - position_;
        position_ += size + (zero ? 1 : 0);
        return std::string(reinterpret_cast<const char*>(start), size);
    }

private:
    const unsigned char* data_;
    size_t length_;
    size_t position_ = 0;
};

void AppendWord(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendText(std::string& out, const std::string& text) {
    // A text ends at its first zero byte in the saved form.
    out.append(text.c_str());
    out += '\0';
}

}  // namespace

bool ReadSavedProperties(const void* data, size_t length, SavedUnitProperties& properties) {
    properties = SavedUnitProperties();
    if (!data || length == 0) return true;
    Reader reader(data, length);
    properties.version = reader.Word();
    if (properties.version > 1) return false;
    properties.noF5Reload = reader.Word();
    properties.cookieEnabled = reader.Word();
    properties.url = reader.Text();
    properties.cacheFolder = reader.Text();
    properties.cookieFolder = reader.Text();
    properties.userAgent = reader.Text();
    properties.allowNewWindows = reader.Word();
    return true;
}

std::string WriteSavedProperties(const SavedUnitProperties& properties) {
    std::string out;
    AppendWord(out, 1);
    AppendWord(out, properties.noF5Reload);
    AppendWord(out, properties.cookieEnabled);
    AppendText(out, properties.url);
    AppendText(out, properties.cacheFolder);
    AppendText(out, properties.cookieFolder);
    AppendText(out, properties.userAgent);
    AppendWord(out, properties.allowNewWindows);
    return out;
}

HGLOBAL SavedPropertiesBlock(const SavedUnitProperties& properties, size_t* length) {
    std::string bytes = WriteSavedProperties(properties);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) throw std::bad_alloc();
    void* memory = GlobalLock(block);
    if (!memory) {
        GlobalFree(block);
        throw std::bad_alloc();
    }
    std::memcpy(memory, bytes.data(), bytes.size());
    GlobalUnlock(block);
    if (length) *length = bytes.size();
    return block;
}
