// Decoding and encoding of the two text encodings (see RegexChars.h for the rules).
#include "regex/RegexChars.h"

#include "textfile/Utf8.h"

namespace tallyon {

TCharCodec::TCharCodec(TTextEncoding encoding) : encoding_(encoding) {
    if (encoding == TTextEncoding::teShiftJis) {
        lineHead_ = 0xFFFD;
        lineTail_ = 0xFFFE;
        maxText_ = 0xFFFC;
        any_ = {{1, 9}, {11, 12}, {14, 0xFCFC}};
    } else {
        lineHead_ = 0x110000;
        lineTail_ = 0x110001;
        maxText_ = 0x10FFFF;
        any_ = {{1, 9}, {11, 12}, {14, 0x10FFFF}};
    }
}

std::size_t TCharCodec::DecodeWide(std::string_view text, std::size_t pos, TCharCode& code) const {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = at(pos);
    const std::size_t left = text.size() - pos;
    if (encoding_ == TTextEncoding::teShiftJis) {
        if (IsLeadByte(b) && left >= 2) {
            const unsigned char t = at(pos + 1);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
                code = b * 256u + t;
                return 2;
            }
        }
        code = b;
        return 1;
    }
    // UTF-8: a byte that does not begin a well-formed sequence stands alone.
    char32_t value = 0;
    const std::size_t length = DecodeUtf8(text, pos, value);
    if (length == 0) {
        code = 0xDC00 + b;
        return 1;
    }
    code = value;
    return length;
}

void TCharCodec::Encode(TCharCode code, std::string& out) const {
    if (encoding_ == TTextEncoding::teShiftJis) {
        if (code > 0xFF) out += static_cast<char>((code >> 8) & 0xFF);
        out += static_cast<char>(code & 0xFF);
        return;
    }
    if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace tallyon
