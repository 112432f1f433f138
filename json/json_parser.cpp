#include "json/json_parser.h"

#include <json-c/json.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "json/base64.h"
#include "json/json_date.h"
#include "json/json_number_scan.h"
#include "json/json_unicode.h"
#include "json/json_value_kinds.h"
#include "utilities/text_number.h"
#include "utilities/text_search.h"

namespace jsonparse {
namespace {

constexpr int kLevels = 32;

enum class State : unsigned char {
    SkipSpace,
    Start,
    Finish,
    NullLiteral,
    BooleanLiteral,
    CommentStart,
    BlockComment,
    BlockCommentEnd,
    LineComment,
    String,
    StringEscape,
    UnicodeEscape,
    Number,
    Array,
    ArrayAdd,
    ArraySeparator,
    MemberStart,
    MemberName,
    MemberNameEnd,
    MemberValue,
    MemberValueAdd,
    MemberSeparator,
    Date,
    Binary,
};

struct Level {
    State state = State::SkipSpace;
    State saved = State::Start;  // where skip-space goes on to
    json_object* current = nullptr;
    std::string key;
};

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsNumberByte(unsigned char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
}

// Case-insensitive match of the literal at the start of the text; the whole
// literal must be there.
bool MatchesLiteral(const char* text, size_t available, const char* literal, size_t length) {
    if (available < length) return false;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c | 0x20) != static_cast<unsigned char>(literal[i])) return false;
    }
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view text)
        : p_(reinterpret_cast<const unsigned char*>(text.data())), end_(p_ + text.size()) {}
    ~Parser();

    bool Run(json_object** value);

private:
    Level& Top() { return levels_[depth_]; }
    void ResetLevel(Level& level);
    bool Step();
    bool Enter(State parentState);
    void Finished(json_object* value) {
        Top().current = value;
        Top().saved = State::Finish;
        Top().state = State::SkipSpace;
    }
    bool ReadString();
    bool ReadEscape();
    bool ReadUnicodeEscape();
    bool ReadQuotedKey();
    bool ReadUnquotedKey();
    bool ReadNumber();
    bool ReadUntil(unsigned char closing, bool keepBytes);
    void ReadQuotedRun();

    const unsigned char* p_;
    const unsigned char* end_;
    Level levels_[kLevels];
    int depth_ = 0;
    json_object* lastFinished_ = nullptr;
    std::string buffer_;
    unsigned char quote_ = 0;  // 0: an unquoted key
    bool done_ = false;
};

Parser::~Parser() {
    for (Level& level : levels_) json_object_put(level.current);
    json_object_put(lastFinished_);
}

void Parser::ResetLevel(Level& level) {
    json_object_put(level.current);
    level.current = nullptr;
    level.key.clear();
    level.state = State::SkipSpace;
    level.saved = State::Start;
}

bool Parser::Run(json_object** value) {
    *value = nullptr;
    while (p_ < end_ && !done_) {
        if (!Step()) return false;
    }
    // The end of the text: only a complete top-level value, perhaps followed
    // by white space or a comment (even an open one), is a success.
    if (!done_ && (depth_ != 0 || (Top().state != State::Finish && Top().saved != State::Finish))) return false;
    *value = levels_[0].current;
    levels_[0].current = nullptr;
    return true;
}

// A child level for the next value; the parent goes on in parentState once
// the child has finished.
bool Parser::Enter(State parentState) {
    if (depth_ == kLevels - 1) return false;  // nesting too deep
    Top().state = parentState;
    ++depth_;
    ResetLevel(Top());
    return true;
}

bool Parser::Step() {
    Level& level = Top();
    const unsigned char c = *p_;
    switch (level.state) {
        case State::SkipSpace:
            if (IsSpace(c)) {
                ++p_;
            } else if (c == '/') {
                ++p_;
                level.state = State::CommentStart;
            } else {
                level.state = level.saved;
            }
            return true;

        case State::Start:
            switch (c) {
                case '{':
                    if (!(level.current = jsonvalue::NewObject())) return false;
                    level.saved = State::MemberStart;
                    level.state = State::SkipSpace;
                    ++p_;
                    return true;
                case '[':
                    if (!(level.current = jsonvalue::NewArray())) return false;
                    level.saved = State::Array;
                    level.state = State::SkipSpace;
                    ++p_;
                    return true;
                case '"':
                case '\'':
                    quote_ = c;
                    buffer_.clear();
                    level.state = State::String;
                    ++p_;
                    return true;
                case '#':
                    buffer_.clear();
                    level.state = State::Date;
                    ++p_;
                    return true;
                case '<':
                    buffer_.clear();
                    level.state = State::Binary;
                    ++p_;
                    return true;
                case 'n':
                case 'N': level.state = State::NullLiteral; return true;
                case 't':
                case 'T':
                case 'f':
                case 'F': level.state = State::BooleanLiteral; return true;
                default:
                    if (c == '-' || (c >= '0' && c <= '9')) {
                        level.state = State::Number;
                        return true;
                    }
                    return false;  // unexpected character
            }

        case State::Finish:
            if (depth_ == 0) {
                done_ = true;  // what follows is not read
                return true;
            }
            lastFinished_ = level.current;
            level.current = nullptr;
            ResetLevel(level);
            --depth_;
            return true;

        case State::NullLiteral:
            if (!MatchesLiteral(reinterpret_cast<const char*>(p_), end_ - p_, "null", 4)) return false;
            p_ += 4;
            Finished(nullptr);
            return true;

        case State::BooleanLiteral: {
            const bool isTrue = (c | 0x20) == 't';
            const char* literal = isTrue ? "true" : "false";
            const size_t length = isTrue ? 4 : 5;
            if (!MatchesLiteral(reinterpret_cast<const char*>(p_), end_ - p_, literal, length)) return false;
            json_object* value = jsonvalue::NewBoolean(isTrue);
            if (!value) return false;
            p_ += length;
            Finished(value);
            return true;
        }

        case State::CommentStart:
            if (c == '*') {
                level.state = State::BlockComment;
            } else if (c == '/') {
                level.state = State::LineComment;
            } else {
                return false;  // comment expected
            }
            ++p_;
            return true;

        case State::BlockComment:
            if (ReadUntil('*', false)) level.state = State::BlockCommentEnd;
            return true;

        case State::BlockCommentEnd:
            // A further "*" may still be the one before the closing "/" ("**/").
            if (c == '/')
                level.state = State::SkipSpace;
            else if (c != '*')
                level.state = State::BlockComment;
            ++p_;
            return true;

        case State::LineComment:
            if (ReadUntil('\n', false)) level.state = State::SkipSpace;
            return true;

        case State::String: return ReadString();
        case State::StringEscape: return ReadEscape();
        case State::UnicodeEscape: return ReadUnicodeEscape();
        case State::Number: return ReadNumber();

        case State::Array:
            if (c == ']') {
                level.saved = State::Finish;
                level.state = State::SkipSpace;
                ++p_;
                return true;
            }
            return Enter(State::ArrayAdd);

        case State::ArrayAdd:
            if (json_object_array_add(level.current, lastFinished_) != 0) return false;
            lastFinished_ = nullptr;
            level.saved = State::ArraySeparator;
            level.state = State::SkipSpace;
            return true;

        case State::ArraySeparator:
            if (c == ']')
                level.saved = State::Finish;
            else if (c == ',')
                level.saved = State::Array;
            else
                return false;  // array separator expected
            level.state = State::SkipSpace;
            ++p_;
            return true;

        case State::MemberStart:
            if (c == '}') {
                level.saved = State::Finish;
                level.state = State::SkipSpace;
                ++p_;
                return true;
            }
            buffer_.clear();
            if (c == '"' || c == '\'') {
                quote_ = c;
                ++p_;
            } else {
                quote_ = 0;
            }
            level.state = State::MemberName;
            return true;

        case State::MemberName: return quote_ ? ReadQuotedKey() : ReadUnquotedKey();

        case State::MemberNameEnd:
            if (c != ':') return false;  // colon expected
            level.saved = State::MemberValue;
            level.state = State::SkipSpace;
            ++p_;
            return true;

        case State::MemberValue: return Enter(State::MemberValueAdd);

        case State::MemberValueAdd: {
            const char* key = level.key.c_str();
            // A repeated key keeps the later value, placed last.
            json_object_object_del(level.current, key);
            if (json_object_object_add_ex(level.current, key, lastFinished_, JSON_C_OBJECT_ADD_KEY_IS_NEW) != 0) {
                return false;
            }
            lastFinished_ = nullptr;
            level.key.clear();
            level.saved = State::MemberSeparator;
            level.state = State::SkipSpace;
            return true;
        }

        case State::MemberSeparator:
            if (c == '}')
                level.saved = State::Finish;
            else if (c == ',')
                level.saved = State::MemberStart;
            else
                return false;  // object separator expected
            level.state = State::SkipSpace;
            ++p_;
            return true;

        case State::Date: {
            if (!ReadUntil('#', true)) return true;
            SYSTEMTIME time;
            if (!jsondate::ParseInternetTime(buffer_, &time)) return false;  // invalid date format
            json_object* value = jsonvalue::NewDate(time);
            if (!value) return false;
            Finished(value);
            return true;
        }

        case State::Binary: {
            if (!ReadUntil('>', true)) return true;
            std::string bytes;
            if (!Base64Decode(buffer_, &bytes)) return false;  // undecodable binary
            json_object* value = jsonvalue::NewBinary(bytes.data(), bytes.size());
            if (!value) return false;
            Finished(value);
            return true;
        }
    }
    return false;
}

// Reads up to the closing byte, appending what it passes to the buffer when
// asked; true once the closing byte has been consumed.
bool Parser::ReadUntil(unsigned char closing, bool keepBytes) {
    const void* found = memchr(p_, closing, end_ - p_);
    const unsigned char* stop = found ? static_cast<const unsigned char*>(found) : end_;
    if (keepBytes) buffer_.append(reinterpret_cast<const char*>(p_), stop - p_);
    p_ = stop;
    if (!found) return false;
    ++p_;
    return true;
}

// Appends the bytes up to the quote character or a backslash. A double-byte
// character is taken whole, so a trail byte that looks like the quote or a
// backslash stays part of the character.
void Parser::ReadQuotedRun() {
    const unsigned char* p = p_;
    while (p < end_ && *p != quote_ && *p != '\\') p += IsGbkLeadByte(*p) && p + 1 < end_ ? 2 : 1;
    buffer_.append(reinterpret_cast<const char*>(p_), p - p_);
    p_ = p;
}

bool Parser::ReadString() {
    ReadQuotedRun();
    if (p_ == end_) return true;  // the end of the text decides: a failure
    Level& level = Top();
    if (*p_ == '\\') {
        level.saved = State::String;
        level.state = State::StringEscape;
        ++p_;
        return true;
    }
    json_object* value = jsonvalue::NewString(buffer_.data(), buffer_.size());
    if (!value) return false;
    ++p_;
    Finished(value);
    return true;
}

bool Parser::ReadEscape() {
    Level& level = Top();
    const unsigned char c = *p_;
    char byte;
    switch (c) {
        case '"':
        case '\'':
        case '/':
        case '\\': byte = static_cast<char>(c); break;
        case 'b': byte = '\b'; break;
        case 'f': byte = '\f'; break;
        case 'n': byte = '\n'; break;
        case 'r': byte = '\r'; break;
        case 't': byte = '\t'; break;
        case 'u':
            ++p_;
            level.state = State::UnicodeEscape;
            return true;
        default:
            // Not an escape: the backslash stays, and the byte is read again.
            buffer_ += '\\';
            level.state = level.saved;
            return true;
    }
    buffer_ += byte;
    ++p_;
    level.state = level.saved;
    return true;
}

// Four hexadecimal digits at the current byte, and, for a high surrogate,
// the "\u" escape of its low half when one follows directly.
bool Parser::ReadUnicodeEscape() {
    auto readUnit = [this](wchar_t* unit) {
        if (end_ - p_ < 4) return false;
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = HexDigitValue(p_[i]);
            if (digit < 0) return false;  // invalid string sequence
            value = value << 4 | static_cast<unsigned>(digit);
        }
        p_ += 4;
        *unit = static_cast<wchar_t>(value);
        return true;
    };
    auto isHigh = [](wchar_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    auto isLow = [](wchar_t u) { return u >= 0xDC00 && u <= 0xDFFF; };

    wchar_t unit;
    if (!readUnit(&unit)) return false;
    while (isHigh(unit)) {
        if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') {
            jsonunicode::AppendReplacement(buffer_);
            Top().state = Top().saved;
            return true;
        }
        p_ += 2;
        wchar_t next;
        if (!readUnit(&next)) return false;
        if (isLow(next)) {
            jsonunicode::AppendCharacter(buffer_, unit, next);
            Top().state = Top().saved;
            return true;
        }
        jsonunicode::AppendReplacement(buffer_);
        unit = next;
    }
    if (unit < 0x80) {
        buffer_ += static_cast<char>(unit);  // \u0000 included: strings keep their length
    } else if (jsonunicode::IsLoneByteUnit(unit)) {
        buffer_ += static_cast<char>(unit - jsonunicode::kLoneByteUnitBase);
    } else if (isLow(unit)) {
        jsonunicode::AppendReplacement(buffer_);
    } else {
        jsonunicode::AppendCharacter(buffer_, unit);
    }
    Top().state = Top().saved;
    return true;
}

// Quoted keys follow the string rules, double-byte characters included, so
// that a key printed by this library reads back the same.
bool Parser::ReadQuotedKey() {
    ReadQuotedRun();
    if (p_ == end_) return true;
    Level& level = Top();
    const bool escape = *p_ == '\\';
    ++p_;
    if (escape) {
        level.saved = State::MemberName;
        level.state = State::StringEscape;
        return true;
    }
    level.key = buffer_;
    level.saved = State::MemberNameEnd;
    level.state = State::SkipSpace;
    return true;
}

bool Parser::ReadUnquotedKey() {
    const unsigned char* run = p_;
    const unsigned char* p = p_;
    while (p < end_ && *p != ':' && !IsSpace(*p)) ++p;
    buffer_.append(reinterpret_cast<const char*>(run), p - run);
    p_ = p;
    if (p_ == end_) return true;
    if (*p_ != ':') ++p_;  // the white space is consumed, the colon read again
    Level& level = Top();
    level.key = buffer_;
    level.saved = State::MemberNameEnd;
    level.state = State::SkipSpace;
    return true;
}

// Integer for 0..2147483646, Long for every other integer; a "." or a
// lower-case "e" makes a Double ("1E5" is the Integer 1).
bool Parser::ReadNumber() {
    const unsigned char* run = p_;
    bool isDouble = false;
    while (p_ < end_ && IsNumberByte(*p_)) {
        isDouble = isDouble || *p_ == '.' || *p_ == 'e';
        ++p_;
    }
    const char* text = reinterpret_cast<const char*>(run);
    const size_t length = p_ - run;
    json_object* value;
    if (isDouble) {
        double number;
        if (!ScanDouble(text, length, &number)) return false;  // number expected
        value = jsonvalue::NewDouble(number);
    } else {
        int64_t number;
        if (!ScanInteger(text, length, &number)) return false;  // number expected
        value = number >= 0 && number <= 2147483646 ? jsonvalue::NewInteger(static_cast<int32_t>(number))
                                                    : jsonvalue::NewLong(number);
    }
    if (!value) return false;
    Finished(value);
    return true;
}

}  // namespace

bool ParseText(std::string_view text, json_object** value) {
    Parser parser(text);
    return parser.Run(value);
}

}  // namespace jsonparse
