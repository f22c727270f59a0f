// ASCII text helpers shared by the engine and its hosts.
//
// Names, operators and unit suffixes are compared after folding the letters a..z to A..Z;
// every other byte, UTF-8 sequences included, passes unchanged, so folding never depends on
// the locale. Blanks are the codes 0 to 32 (the control characters and the space): they are
// what trimming removes and what separates the items of a comma list. Everything here is
// inline, so that scanning loops keep their speed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyon {

// c with a..z folded to A..Z; every other byte unchanged.
inline constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Folds the ASCII letters of text to upper case in place.
inline void AsciiUpperInPlace(std::string& text) {
    for (char& c : text)
        c = AsciiUpper(c);
}

// A copy of text with its ASCII letters folded to upper case.
inline std::string AsciiUpperCopy(std::string_view text) {
    std::string folded(text);
    AsciiUpperInPlace(folded);
    return folded;
}

// True for the blank codes 0 to 32.
inline constexpr bool IsBlankCode(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// text without its leading and trailing blank codes.
inline constexpr std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankCode(text[begin]))
        ++begin;
    while (end > begin && IsBlankCode(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

}  // namespace tallyon
