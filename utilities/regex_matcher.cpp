#include "utilities/regex_matcher.h"

#include "utilities/text_codepage.h"
#include "utilities/text_search.h"

namespace {

// "#引号" in GBK: a pattern cannot easily carry a double quote through every
// caller's quoting, so callers write this placeholder instead.
const char kQuotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string out;
    int start = 1;
    for (;;) {
        int at = FindText(text, from, start);
        if (at < 0) break;
        out.append(text, start - 1, at - start);
        out += to;
        start = at + (int)from.size();
    }
    out.append(text, start - 1, std::string::npos);
    return out;
}

bool SameText(std::string_view a, std::string_view b, bool ignoreCase) {
    return a.size() == b.size() && FindText(a, b, 1, ignoreCase) == 1;
}

}  // namespace

RegexMatcher::RegexMatcher() = default;

RegexMatcher::RegexMatcher(const RegexMatcher& other)
    : regex_(other.regex_), matches_(other.matches_), subject_(other.subject_) {}

RegexMatcher::~RegexMatcher() = default;

bool RegexMatcher::Search(const std::string& pattern, const std::string& subject, std::optional<bool> caseSensitive,
                          std::optional<bool> multiLine, std::optional<bool> global, bool replaceQuotePlaceholder) {
    matches_.Reset();
    regex_.Reset();
    regex_ = DispatchObject::Create(L"VBScript.RegExp");
    regex_.PutProperty(L"IgnoreCase", Variant::FromBool(!caseSensitive.value_or(false)));
    regex_.PutProperty(L"Multiline", Variant::FromBool(multiLine.value_or(true)));
    regex_.PutProperty(L"Global", Variant::FromBool(global.value_or(true)));
    regex_.PutProperty(
        L"Pattern",
        Variant::FromText(replaceQuotePlaceholder ? ReplaceAll(pattern, kQuotePlaceholder, "\"") : pattern));
    subject_ = subject;
    Variant subjectValue = Variant::FromText(subject_);
    matches_ = regex_.GetObjectProperty(L"Execute", &subjectValue, 1);
    return !matches_.Empty();
}

std::string RegexMatcher::GetPattern() {
    if (regex_.Empty()) return {};
    return regex_.GetProperty(L"Pattern").ToText();
}

std::string RegexMatcher::Replace(std::optional<std::string> replacement) {
    Variant args[] = {Variant::FromText(subject_), Variant::FromText(replacement.value_or(std::string()))};
    return regex_.Call(L"Replace", args, 2).ToText();
}

int RegexMatcher::GetMatchCount() {
    if (matches_.Empty()) return 0;
    return matches_.GetProperty(L"Count").ToInt();
}

DispatchObject RegexMatcher::MatchAt(int n) const {
    Variant index = Variant::FromInt(n - 1);
    return matches_.GetObjectProperty(L"Item", &index, 1);
}

// FirstIndex counts UTF-16 units. The byte offset of the same place is the
// byte length of those units in the ANSI code page; that is exact even when
// the same text matches more than once after double-byte characters. Should
// the match not stand there, search from FirstIndex as a byte position, which
// can only lie at or before the match.
int RegexMatcher::BytePositionOf(const std::string& text, const DispatchObject& match, bool ignoreCase) {
    int firstIndex = match.GetProperty(L"FirstIndex").ToInt();
    WideBuffer units = MultiByteToWide(subject_.c_str(), kCodePageSystemAnsi);
    if (firstIndex >= 0 && (size_t)firstIndex < units.size()) {
        std::wstring prefix(units.data(), units.data() + firstIndex);
        size_t offset = WideToMultiByte(prefix.c_str(), kCodePageSystemAnsi).size();
        if (offset <= subject_.size() &&
            SameText(std::string_view(subject_).substr(offset, text.size()), text, ignoreCase))
            return (int)offset;
    }
    int found = FindText(subject_, text, firstIndex, ignoreCase);
    return found < 0 ? -2 : found - 1;
}

std::string RegexMatcher::GetMatch(int n, int* position) {
    if (matches_.Empty()) return {};
    DispatchObject match = MatchAt(n);
    std::string text = match.Empty() ? std::string() : match.GetProperty(L"Value").ToText();
    if (position)
        *position = match.Empty() ? -2 : BytePositionOf(text, match, regex_.GetProperty(L"IgnoreCase").ToBool());
    return text;
}

std::string RegexMatcher::GetSubMatch(int n, int k, int* position) {
    if (matches_.Empty()) return {};
    DispatchObject match = MatchAt(n);
    DispatchObject subMatches = match.GetObjectProperty(L"SubMatches");
    Variant subIndex = Variant::FromInt(k - 1);
    std::string text = subMatches.Empty() ? std::string() : subMatches.GetProperty(L"Item", &subIndex, 1).ToText();
    if (position) {
        *position = -2;
        if (!match.Empty()) {
            // A group has no index of its own: look for it from where its match begins.
            bool ignoreCase = regex_.GetProperty(L"IgnoreCase").ToBool();
            int matchAt = BytePositionOf(match.GetProperty(L"Value").ToText(), match, ignoreCase);
            int found = FindText(subject_, text, matchAt < 0 ? 1 : matchAt + 1, ignoreCase);
            *position = found < 0 ? -2 : found - 1;
        }
    }
    return text;
}

int RegexMatcher::GetSubMatchCount() {
    if (matches_.Empty()) return 0;
    return MatchAt(1).GetObjectProperty(L"SubMatches").GetProperty(L"Count").ToInt();
}

bool ContainsChineseChar(const std::string& text) {
    RegexMatcher matcher;
    matcher.Search("[\\u4e00-\\u9fa5]", text);
    return matcher.GetMatchCount() != 0;
}
