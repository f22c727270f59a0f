// Reading pattern and replacement texts: characters with backslash escapes
// (TPatCharReader), and the tokens of a pattern (TPatScanner).
//
// The scanner has two modes. Outside a bracket class every metacharacter is a token of its
// own and anything else (or anything after a backslash) is an ordinary character. After an
// open-class token the scanner reads class members, each a single character or a range
// "a-z", until the unescaped "]" that closes the class; then it returns to the outer mode.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "regex/RegexChars.h"

namespace tallyon {

// Reads the characters of one text, resolving escapes on request. Errors carry the
// reader's position.
class TPatCharReader {
public:
    TPatCharReader(std::string_view text, const TCharCodec& codec) : text_(text), codec_(codec) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    // The next byte without consuming it; 0 at the end.
    unsigned char PeekByte() const { return AtEnd() ? 0 : static_cast<unsigned char>(text_[pos_]); }
    // Byte offset of the next character (0-based).
    std::size_t Offset() const { return pos_; }
    void SetOffset(std::size_t offset) { pos_ = offset; }
    // 1-based position for error reports.
    std::size_t Position() const { return pos_ + 1; }

    // Reads one character as it stands; 0 at the end. A Shift-JIS lead byte that is the
    // last byte of the text is an error.
    TCharCode ReadRaw();
    // Reads the code that follows a backslash already consumed: b n r t, \x with 1-4 hex
    // digits, 1-6 octal digits (at most 0xFFFF), or any other character as itself.
    TCharCode ReadEscape();
    // Reads one character, resolving a backslash escape; `escaped` tells which it was.
    TCharCode ReadChar(bool& escaped);

    [[noreturn]] void Fail(const char* message) const;

private:
    std::string_view text_;
    const TCharCodec& codec_;
    std::size_t pos_ = 0;
};

enum class TTokenKind {
    tkEnd,
    tkUnion,         // |
    tkOpenGroup,     // (
    tkCloseGroup,    // )
    tkStar,          // *
    tkPlus,          // +
    tkOptional,      // ?
    tkOpenClass,     // [
    tkOpenNegClass,  // [^
    tkCloseClass,    // ]
    tkAny,           // .
    tkLineHead,      // ^
    tkLineTail,      // $
    tkChar,          // an ordinary character (lo); in a class, a single member
    tkRange,         // a class member range lo-hi
};

struct TPatToken {
    TTokenKind kind = TTokenKind::tkEnd;
    TCharCode lo = 0;  // the character, or the start of a range
    TCharCode hi = 0;  // the end of a range (equal to lo for a single character)
};

class TPatScanner {
public:
    TPatScanner(std::string_view text, const TCharCodec& codec) : reader_(text, codec) {}

    // Reads the next token into Token() and returns it.
    const TPatToken& Next();
    const TPatToken& Token() const { return token_; }
    // 1-based position of the next byte to read.
    std::size_t Position() const { return reader_.Position(); }
    [[noreturn]] void Fail(const char* message) const { reader_.Fail(message); }

private:
    void NextOutside();
    void NextInClass();

    TPatCharReader reader_;
    TPatToken token_;
    bool inClass_ = false;
};

}  // namespace tallyon
