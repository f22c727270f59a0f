// Escapes and tokens of the pattern syntax (see RegexScanner.h).
#include "regex/RegexScanner.h"

namespace tallyon {

namespace {

int HexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

void TPatCharReader::Fail(const char* message) const {
    throw EPatternError(message, Position());
}

TCharCode TPatCharReader::ReadRaw() {
    if (AtEnd()) return 0;
    const auto b = static_cast<unsigned char>(text_[pos_]);
    if (codec_.IsLeadByte(b) && pos_ + 1 == text_.size()) Fail(PatternMessage::kBadDoubleByte);
    TCharCode code;
    pos_ += codec_.Decode(text_, pos_, code);
    return code;
}

TCharCode TPatCharReader::ReadEscape() {
    if (AtEnd()) Fail(PatternMessage::kBackslashAtEnd);
    const unsigned char c = PeekByte();
    switch (c) {
        case 'b':
            ++pos_;
            return 8;
        case 'n':
            ++pos_;
            return 10;
        case 'r':
            ++pos_;
            return 13;
        case 't':
            ++pos_;
            return 9;
        case 'x': {
            ++pos_;
            TCharCode value = 0;
            int count = 0;
            while (count < 4 && !AtEnd() && HexDigit(PeekByte()) >= 0) {
                value = value * 16 + HexDigit(PeekByte());
                ++pos_;
                ++count;
            }
            if (count == 0) Fail(PatternMessage::kBadHex);
            return value;
        }
        default:
            break;
    }
    if (c >= '0' && c <= '7') {
        TCharCode value = 0;
        int count = 0;
        while (count < 6 && !AtEnd() && PeekByte() >= '0' && PeekByte() <= '7') {
            value = value * 8 + (PeekByte() - '0');
            ++pos_;
            ++count;
        }
        if (value > 0xFFFF) Fail(PatternMessage::kBadOctal);
        return value;
    }
    return ReadRaw();
}

TCharCode TPatCharReader::ReadChar(bool& escaped) {
    escaped = PeekByte() == '\\' && !AtEnd();
    if (!escaped) return ReadRaw();
    ++pos_;
    return ReadEscape();
}

const TPatToken& TPatScanner::Next() {
    if (inClass_) {
        NextInClass();
    } else {
        NextOutside();
    }
    return token_;
}

void TPatScanner::NextOutside() {
    token_ = TPatToken{};
    if (reader_.AtEnd()) return;
    bool escaped;
    const TCharCode c = reader_.ReadChar(escaped);
    token_.lo = token_.hi = c;
    if (escaped) {
        token_.kind = TTokenKind::tkChar;
        return;
    }
    switch (c) {
        case '|':
            token_.kind = TTokenKind::tkUnion;
            break;
        case '(':
            token_.kind = TTokenKind::tkOpenGroup;
            break;
        case ')':
            token_.kind = TTokenKind::tkCloseGroup;
            break;
        case '*':
            token_.kind = TTokenKind::tkStar;
            break;
        case '+':
            token_.kind = TTokenKind::tkPlus;
            break;
        case '?':
            token_.kind = TTokenKind::tkOptional;
            break;
        case ']':
            token_.kind = TTokenKind::tkCloseClass;
            break;
        case '.':
            token_.kind = TTokenKind::tkAny;
            break;
        case '^':
            token_.kind = TTokenKind::tkLineHead;
            break;
        case '$':
            token_.kind = TTokenKind::tkLineTail;
            break;
        case '[':
            if (reader_.AtEnd()) Fail(PatternMessage::kNoCloseBracket);
            token_.kind = TTokenKind::tkOpenClass;
            if (reader_.PeekByte() == '^') {
                reader_.ReadRaw();
                token_.kind = TTokenKind::tkOpenNegClass;
            }
            inClass_ = true;
            break;
        default:
            token_.kind = TTokenKind::tkChar;
            break;
    }
}

void TPatScanner::NextInClass() {
    token_ = TPatToken{};
    if (reader_.AtEnd()) Fail(PatternMessage::kNoCloseBracket);
    bool escaped;
    const TCharCode first = reader_.ReadChar(escaped);
    if (!escaped && first == ']') {
        token_.kind = TTokenKind::tkCloseClass;
        token_.lo = token_.hi = first;
        inClass_ = false;
        return;
    }
    token_.kind = TTokenKind::tkChar;
    token_.lo = token_.hi = first;
    if (reader_.PeekByte() != '-' || reader_.AtEnd()) return;
    const std::size_t dash = reader_.Offset();
    reader_.ReadRaw();
    if (reader_.AtEnd()) Fail(PatternMessage::kNoCloseBracket);
    const TCharCode last = reader_.ReadChar(escaped);
    if (!escaped && last == ']') {
        // "-" before the closing bracket is an ordinary member: read both again.
        reader_.SetOffset(dash);
        return;
    }
    if (last < first) Fail(PatternMessage::kBadRange);
    token_.kind = TTokenKind::tkRange;
    token_.hi = last;
}

}  // namespace tallyon
