#include "utilities/text_search.h"

size_t NextGbkCharacter(std::string_view text, size_t at) {
    return at + ((IsGbkLeadByte((unsigned char)text[at]) && at + 1 < text.size()) ? 2 : 1);
}

namespace {

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? (unsigned char)(c + 32) : c; }

// Compares byte by byte; only bytes that start a character may be folded,
// so a trail byte such as 0x41 keeps its case.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool ignoreCase) {
    bool trail = false;
    for (size_t i = 0; i < needle.size(); ++i) {
        unsigned char a = (unsigned char)text[at + i];
        unsigned char b = (unsigned char)needle[i];
        if (ignoreCase && !trail) {
            a = FoldAscii(a);
            b = FoldAscii(b);
        }
        if (a != b) return false;
        trail = !trail && IsGbkLeadByte((unsigned char)needle[i]);
    }
    return true;
}

}  // namespace

int FindText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    if (start < 1) start = 1;
    if (needle.empty() || needle.size() > text.size()) return -1;
    size_t from = (size_t)start - 1;
    size_t at = 0;
    while (at + needle.size() <= text.size()) {
        if (at >= from && MatchesAt(text, at, needle, ignoreCase)) return (int)at + 1;
        at = NextGbkCharacter(text, at);
    }
    return -1;
}

bool EndsWithChar(std::string_view text, char c) {
    size_t at = FindLastChar(text, c);
    return at != std::string_view::npos && at + 1 == text.size();
}

size_t FindLastChar(std::string_view text, char c) {
    size_t at = 0, found = std::string_view::npos;
    while (at < text.size()) {
        size_t next = NextGbkCharacter(text, at);
        if (next == at + 1 && text[at] == c) found = at;
        at = next;
    }
    return found;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii((unsigned char)a[i]) != FoldAscii((unsigned char)b[i])) return false;
    return true;
}
