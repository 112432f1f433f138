#include "json/base64.h"

#include <cstdint>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DigitValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t group = (uint8_t)bytes[i] << 16 | (uint8_t)bytes[i + 1] << 8 | (uint8_t)bytes[i + 2];
        text += kAlphabet[group >> 18];
        text += kAlphabet[group >> 12 & 63];
        text += kAlphabet[group >> 6 & 63];
        text += kAlphabet[group & 63];
    }
    if (i < bytes.size()) {
        bool two = i + 1 < bytes.size();
        uint32_t group = (uint8_t)bytes[i] << 16 | (two ? (uint8_t)bytes[i + 1] << 8 : 0);
        text += kAlphabet[group >> 18];
        text += kAlphabet[group >> 12 & 63];
        text += two ? kAlphabet[group >> 6 & 63] : '=';
        text += '=';
    }
    return text;
}

bool Base64Decode(std::string_view text, std::string* bytes) {
    bytes->clear();
    size_t length = text.size();
    size_t padding = 0;
    while (length > 0 && padding < 2 && text[length - 1] == '=') {
        --length;
        ++padding;
    }
    // Padding, when present, must complete the last group of four.
    if (length % 4 == 1 || (padding > 0 && (length + padding) % 4 != 0)) return false;
    bytes->reserve(length / 4 * 3 + 2);
    uint32_t group = 0;
    int bits = 0;
    for (size_t i = 0; i < length; ++i) {
        int value = DigitValue(static_cast<unsigned char>(text[i]));
        if (value < 0) return false;
        group = group << 6 | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes->push_back(static_cast<char>(group >> bits & 0xFF));
        }
    }
    return true;
}
