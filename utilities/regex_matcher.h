// Regular expressions through the system's "VBScript.RegExp" automation
// class. Texts are GBK; they cross into COM as UTF-16 under the ANSI code page.
#pragma once

#include <optional>
#include <string>

#include "utilities/com_apartment.h"
#include "utilities/dispatch_object.h"

class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    // Shares both COM objects and copies the subject.
    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher&) = delete;

    // Compiles pattern and runs it over subject. Not given: caseSensitive false,
    // multiLine true, global true. With replaceQuotePlaceholder every "#引号" in
    // the pattern stands for a double quote. True when a match collection exists.
    bool Search(const std::string& pattern, const std::string& subject,
                std::optional<bool> caseSensitive = std::nullopt, std::optional<bool> multiLine = std::nullopt,
                std::optional<bool> global = std::nullopt, bool replaceQuotePlaceholder = false);
    void Noop() {}
    std::string GetPattern();
    // The stored subject with every match replaced ("$1" names a group).
    std::string Replace(std::optional<std::string> replacement = std::nullopt);
    int GetMatchCount();
    // Match n (1-based); *position receives its 0-based byte offset, -2 when not found.
    std::string GetMatch(int n, int* position = nullptr);
    // Sub-match k (1-based) of match n (1-based).
    std::string GetSubMatch(int n, int k, int* position = nullptr);
    int GetSubMatchCount();

private:
    // Match n (1-based) of the last search; empty when there is none.
    DispatchObject MatchAt(int n) const;
    int BytePositionOf(const std::string& text, const DispatchObject& match, bool ignoreCase);

    // Declared first so it ends after the COM objects.
    ComApartment apartment_;
    DispatchObject regex_;
    DispatchObject matches_;
    std::string subject_;
};

// True when text holds a character from U+4E00 to U+9FA5.
bool ContainsChineseChar(const std::string& text);
