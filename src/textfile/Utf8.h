// UTF-8 as the program reads it everywhere: strictly, with no overlong forms, no surrogates
// and nothing above U+10FFFF. The file reader uses it to tell UTF-8 from Shift-JIS, the
// pattern engine to step through characters and the answer formatter to count them.
#pragma once

#include <cstddef>
#include <string_view>

namespace tallyon {

// Decodes the character that starts at `pos` (< text.size()) into `code` and returns its
// length in bytes (1 to 4). Returns 0 and leaves `code` alone when the bytes at `pos` do not
// begin a well-formed sequence (a stray continuation byte, a lead byte that cannot start a
// sequence, a form that is overlong or a surrogate or too large, or a sequence cut off by the
// end of the text).
inline std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = at(pos);
    if (b < 0x80) {
        code = b;
        return 1;
    }
    // The second byte's range depends on the first: that is what rules out overlong forms
    // (E0, F0), surrogates (ED) and values above U+10FFFF (F4).
    std::size_t follow = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t value = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        follow = 1;
        value = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
        follow = 2;
        value = b & 0x0Fu;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        follow = 3;
        value = b & 0x07u;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - pos <= follow) return 0;
    for (std::size_t k = 1; k <= follow; ++k) {
        const unsigned char c = at(pos + k);
        if (c < low || c > high) return 0;
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (c & 0x3Fu);
    }
    code = value;
    return follow + 1;
}

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The number of characters (code points) of a UTF-8 text; every byte that does not begin a
// well-formed sequence counts as one character of its own.
std::size_t Utf8CharacterCount(std::string_view text);

}  // namespace tallyon
