// ASCII helpers: folding touches a..z only, blanks are exactly the codes 0 to 32, and bytes of
// UTF-8 text (negative as char) are neither folded nor blanks.
#include "engine/AsciiText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace tallyon;

namespace {

TEST(AsciiText, FoldingTouchesOnlyTheLettersAToZ) {
    struct Row {
        char in;
        char out;
    };
    const Row rows[] = {
        {'a', 'A'},       {'z', 'Z'},       {'m', 'M'},   {'A', 'A'},       {'Z', 'Z'},
        {'`', '`'},       {'{', '{'},       {'@', '@'},   {'[', '['},       {'0', '0'},
        {'_', '_'},       {' ', ' '},       {'\0', '\0'}, {'\x7f', '\x7f'}, {'\xe6', '\xe6'},
        {'\xc3', '\xc3'}, {'\xa4', '\xa4'},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AsciiUpper(row.in), row.out) << static_cast<int>(row.in);
    // UTF-8 text passes unchanged around folded letters.
    EXPECT_EQ(AsciiUpperCopy("x\xc3\xa4y_1"), "X\xc3\xa4Y_1");
    std::string text = "sin(x) + \xe6\x97\xa5";
    AsciiUpperInPlace(text);
    EXPECT_EQ(text, "SIN(X) + \xe6\x97\xa5");
}

TEST(AsciiText, BlanksAreTheCodesUpTo32) {
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        EXPECT_EQ(IsBlankCode(c), code <= 32) << code;
    }
}

TEST(AsciiText, TrimmingRemovesBlankCodesAtBothEndsOnly) {
    struct Row {
        std::string_view text;
        std::string_view trimmed;
    };
    const Row rows[] = {
        {"", ""},
        {" \t\r\n\x01", ""},
        {"  1 + 2 \r\n", "1 + 2"},
        {std::string_view("\0x\x1f", 3), "x"},
        {"a\tb", "a\tb"},
        {"\xe6\x97\xa5 ", "\xe6\x97\xa5"},
        {"\x7f", "\x7f"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TrimBlanks(row.text), row.trimmed) << row.text;
}

}  // namespace
