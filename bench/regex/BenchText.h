// The benchmark text: numbers separated by irregular blanks, TABs, commas and line breaks,
// the kind of text a user pastes from a spreadsheet or a report. Generated from a fixed
// seed, so every run and every tool sees the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tallyon {

inline std::string MakeBenchText(std::size_t bytes) {
    static const char* const separators[] = {
        ",", " , ", "\t,\t", "  ", "\t", " ,", ", ", "\n", "\r\n", " \t , \t", "   ,  ", ",\t",
    };
    constexpr std::size_t kSeparators = sizeof separators / sizeof separators[0];
    std::uint64_t state = 0x2545F4914F6CDD1Dull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::string text;
    text.reserve(bytes + 32);
    while (text.size() < bytes) {
        const std::uint64_t r = next();
        const int digits = 1 + static_cast<int>(r % 7);
        std::uint64_t value = r >> 8;
        for (int i = 0; i < digits; ++i, value /= 10)
            text += static_cast<char>('0' + value % 10);
        if ((r >> 3) % 4 == 0) text += ".5";
        text += separators[(r >> 40) % kSeparators];
    }
    return text;
}

}  // namespace tallyon
