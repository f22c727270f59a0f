// The strict UTF-8 decoder at the edges of every sequence length: the smallest and largest
// well-formed value of each length decodes, the forms just past them are refused.
#include "textfile/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace tallyon;

namespace {

struct TDecodeCase {
    const char* Name;
    std::string_view Bytes;
    std::size_t Length;  // 0: refused
    char32_t Code;
};

const TDecodeCase kCases[] = {
    {"AsciiNul", std::string_view("\0", 1), 1, 0},
    {"AsciiLast", "\x7F", 1, 0x7F},
    {"StrayContinuationByte", "\x80", 0, 0},
    {"OverlongTwoBytes", "\xC1\xBF", 0, 0},
    {"SmallestTwoBytes", "\xC2\x80", 2, 0x80},
    {"LargestTwoBytes", "\xDF\xBF", 2, 0x7FF},
    {"OverlongThreeBytes", "\xE0\x9F\xBF", 0, 0},
    {"SmallestThreeBytes", "\xE0\xA0\x80", 3, 0x800},
    {"LastBeforeSurrogates", "\xED\x9F\xBF", 3, 0xD7FF},
    {"Surrogate", "\xED\xA0\x80", 0, 0},
    {"AfterSurrogates", "\xEE\x80\x80", 3, 0xE000},
    {"Japanese", "\xE8\xA8\x88", 3, 0x8A08},
    {"OverlongFourBytes", "\xF0\x8F\xBF\xBF", 0, 0},
    {"SmallestFourBytes", "\xF0\x90\x80\x80", 4, 0x10000},
    {"LargestCodePoint", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
    {"AboveLargestCodePoint", "\xF4\x90\x80\x80", 0, 0},
    {"LeadByteF5", "\xF5\x80\x80\x80", 0, 0},
    {"CutOffByTheEnd", "\xE8\xA8", 0, 0},
    {"ContinuationMissing", "\xE8\xA8x", 0, 0},
};

class Utf8DecodeTest : public testing::TestWithParam<TDecodeCase> {};

TEST_P(Utf8DecodeTest, DecodesOrRefusesTheFirstCharacter) {
    const TDecodeCase& c = GetParam();
    char32_t code = 0xFFFF;
    EXPECT_EQ(DecodeUtf8(c.Bytes, 0, code), c.Length);
    EXPECT_EQ(code, c.Length == 0 ? char32_t{0xFFFF} : c.Code);
    EXPECT_EQ(IsValidUtf8(c.Bytes), c.Length == c.Bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8DecodeTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Utf8Test, DecodingStopsAtTheEndOfTheView) {
    // The bytes after the view would complete the sequence; they must not be read.
    const std::string bytes = "a\xE8\xA8\x88";
    char32_t code = 0;
    EXPECT_EQ(DecodeUtf8(std::string_view(bytes).substr(0, 3), 1, code), 0u);
    EXPECT_EQ(DecodeUtf8(bytes, 1, code), 3u);
}

TEST(Utf8Test, CountsCharactersWithEveryStrayByteAsOne) {
    EXPECT_EQ(Utf8CharacterCount(""), 0u);
    EXPECT_EQ(Utf8CharacterCount("a\xE8\xA8\x88\xF0\x9F\x98\x80"), 3u);
    // A cut-off sequence is two stray bytes, not one character.
    EXPECT_EQ(Utf8CharacterCount("\xE8\xA8"), 2u);
    EXPECT_EQ(Utf8CharacterCount("\xFF\x80x"), 3u);
}

// Runs of ASCII are checked in blocks; a sequence is judged the same wherever it falls
// against a block's edge, and a lone byte after a long run is still found.
TEST(Utf8Test, ValidityDoesNotDependOnWhereASequenceFalls) {
    const struct {
        std::string_view Bytes;
        bool Valid;
    } kSequences[] = {{"\xE3\x81\x82", true}, {"\xC3\xA9", true}, {"\xE3\x81", false},
                      {"\x80", false},        {"\xFF", false},    {"\xF0\x9F\x98\x80", true}};
    for (const auto& sequence : kSequences) {
        for (std::size_t before = 0; before < 20; ++before) {
            for (std::size_t after : {0, 1, 9}) {
                const std::string text = std::string(before, 'a') + std::string(sequence.Bytes) +
                                         std::string(after, 'b');
                EXPECT_EQ(IsValidUtf8(text), sequence.Valid) << before << " " << after;
            }
        }
    }
}

}  // namespace
