// Answer formatting: the selection of the number format and every rule of the user pattern.
#include "document/AnswerFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "engine/RuvoSub.h"

using namespace tallyon;

namespace {

struct TPatternCase {
    const char* Name;
    std::string_view Pattern;
    long double Value;
    std::string_view Text;
};

const TPatternCase kPatternCases[] = {
    {"ThousandsAndThreeDecimals", "#,##0.000;-#,##0.000;0.000", 1234.5L, "1,234.500"},
    {"NegativeSectionWritesItsOwnSign", "#,##0.000;-#,##0.000;0.000", -2, "-2.000"},
    {"ZeroSection", "#,##0.000;-#,##0.000;0.000", 0, "0.000"},
    {"ZeroSectionAfterRounding", "#,##0.000;-#,##0.000;'tiny'", 0.0004L, "tiny"},
    {"NegativeRoundingToZeroUsesZeroSection", "0.0;-0.0;'nil'", -0.04L, "nil"},
    {"RoundedZeroWithoutZeroSectionHasNoSign", "0.0", -0.04L, "0.0"},
    {"ParenthesesSectionForNegatives", "0,;(0,);0", -1500, "(1,500)"},
    {"TrailingCommaStillGroupsAndDoesNotScale", "0,;(0,);0", 1234567.8L, "1,234,568"},
    {"GroupsOfThreeOnly", "#,##0", 999, "999"},
    {"SingleSectionNegativeGetsSignBeforeGroups", "#,##0", -1234567, "-1,234,567"},
    {"HalfRoundsAwayFromZero", "0", 2.5L, "3"},
    {"NegativeHalfRoundsAwayFromZero", "0", -2.5L, "-3"},
    {"ExactBinaryHalfRoundsAwayFromZero", "0.00", 0.125L, "0.13"},
    {"RoundingCarriesIntoNewDigit", "0.00", 9.999L, "10.00"},
    {"HashDropsInsignificantDecimals", "0.##", 1, "1"},
    {"HashKeepsSignificantDecimals", "0.##", 1.5L, "1.5"},
    {"HashOnlyIntegerPartWritesNoLeadingZero", "#.##", 0.5L, ".5"},
    {"ZerosPadIntegerPart", "000", 7, "007"},
    {"LeftmostZeroBoundsPadding", "#0.0", 0.25L, "0.3"},
    {"ExtraIntegerDigitsGoBeforeFirstPlaceholder", "x0.0y", 123456.78L, "x123456.8y"},
    {"FurtherPointsAreIgnored", "0.0.0", 1.25L, "1.25"},
    {"ScientificWithSignedExponent", "0.00E+00", 12345, "1.23E+04"},
    {"ScientificSignOnlyWhenNegative", "0.00E-00", 12345, "1.23E04"},
    {"ScientificNegativeExponent", "0.00E-00", 0.0012345L, "1.23E-03"},
    {"ScientificLowerCaseLetterKept", "0.00e+00", 12345, "1.23e+04"},
    {"ScientificTwoIntegerDigits", "00.0E+0", 12345, "12.3E+3"},
    {"ScientificExponentWidthCapsAtFour", "0.0E+000000", 5, "5.0E+0000"},
    {"ScientificWithoutExponentZerosWritesDigitsNeeded", "0E+", 12345, "1E+4"},
    {"ScientificZero", "0.00E+00", 0, "0.00E+00"},
    {"ScientificHugeValueStaysScientific", "0.0E+0", 2.5e20L, "2.5E+20"},
    {"LetterEWithoutSignIsText", "0e", 5, "5e"},
    {"QuotedTextIsWrittenWithoutQuotes", "'$'0.00", 5, "$5.00"},
    {"SignComesBeforeLiteralText", "'$'0.00", -5, "-$5.00"},
    {"DoubleQuotesToo", "0\" kOhm\"", 47, "47 kOhm"},
    {"SemicolonInQuotesDoesNotSplit", "\"a;b\"0", 5, "a;b5"},
    {"EmptyNegativeSectionFallsBackToFirst", "0;;'zero'", -3, "-3"},
    {"EmptyZeroSectionFallsBackToFirst", "0.0;-0.0;", 0, "0.0"},
    {"FourthSectionIsIgnored", "0;-0;z;w", 0, "z"},
    {"OtherCharactersAreWritten", "[0]", 42, "[42]"},
    {"EighteenIntegerDigitsStillFormatted", "0", 1e17L, "100000000000000000"},
};

class PatternTest : public testing::TestWithParam<TPatternCase> {};

TEST_P(PatternTest, FormatsByPattern) {
    EXPECT_EQ(FormatByPattern(GetParam().Pattern, GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternTest, testing::ValuesIn(kPatternCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Cases that fall back to the general number text with 15 significant digits.
struct TGeneralCase {
    const char* Name;
    std::string_view Pattern;
    long double Value;
};

const TGeneralCase kGeneralCases[] = {
    {"EmptyPattern", "", 1.0L / 3},
    {"EmptyFirstSection", ";0.00", 12.5L},
    {"NineteenIntegerDigits", "0", 2.5e20L},
    {"NineteenDigitsAfterRounding", "0", 999999999999999999.6L},
    {"Infinity", "0.000", std::numeric_limits<long double>::infinity()},
    {"NegativeInfinity", "0.000", -std::numeric_limits<long double>::infinity()},
    {"NotANumber", "0.000", std::numeric_limits<long double>::quiet_NaN()},
};

class PatternFallbackTest : public testing::TestWithParam<TGeneralCase> {};

TEST_P(PatternFallbackTest, WritesGeneralNumberText) {
    EXPECT_EQ(FormatByPattern(GetParam().Pattern, GetParam().Value),
              GeneralNumberText(GetParam().Value));
}

INSTANTIATE_TEST_SUITE_P(Fallbacks, PatternFallbackTest, testing::ValuesIn(kGeneralCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PatternTest, GeneralFallbackOfNineteenDigitsIsScientific) {
    EXPECT_EQ(FormatByPattern("0", 2.5e20L), "2.5E20");
}

// The length limit counts characters, so Japanese literals (three bytes each in UTF-8) get
// as many as ASCII ones.
struct TLengthCase {
    const char* Name;
    std::string Literal;  // one character, repeated after the leading "0"
    std::size_t Characters;
    bool Accepted;
};

std::string Repeated(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

const TLengthCase kLengthCases[] = {
    {"AsciiAtTheLimit", "x", 224, true},
    {"AsciiOverTheLimit", "x", 225, false},
    {"JapaneseOf243BytesIsShort", "\xE5\x86\x86", 83, true},
    {"JapaneseAtTheLimit", "\xE5\x86\x86", 224, true},
    {"JapaneseOverTheLimit", "\xE5\x86\x86", 225, false},
};

class PatternLengthTest : public testing::TestWithParam<TLengthCase> {};

TEST_P(PatternLengthTest, LongestAcceptedPatternIs224Characters) {
    const TLengthCase& c = GetParam();
    const std::string literals = Repeated(c.Literal, c.Characters - 1);
    if (c.Accepted) {
        EXPECT_EQ(FormatByPattern("0" + literals, 1), "1" + literals);
        return;
    }
    try {
        FormatByPattern("0" + literals, 1);
        FAIL() << "a pattern of " << c.Characters << " characters was accepted";
    } catch (const EFormatError& e) {
        EXPECT_STREQ(e.what(), "Format string too long");
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, PatternLengthTest, testing::ValuesIn(kLengthCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Cross-checks against the C library's correctly rounded output on many values, skipping the
// exact halfway cases (the library rounds those to even, answers round them away from zero): fixed
// decimals against "%.*Lf", thousands grouping on top of it, and the scientific pattern against
// "%.*LE", whose exponent has a sign and at least two digits.
class PatternReferenceTest : public testing::Test {
protected:
    // Values spread over many magnitudes and both signs, none exactly halfway.
    static std::vector<long double> Values() {
        std::vector<long double> values;
        std::uint64_t state = 12345;
        for (int i = 0; i < 3000; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const long double mantissa = static_cast<long double>(state >> 11) / (1ULL << 53);
            const int exponent = static_cast<int>((state >> 3) % 24) - 12;
            values.push_back((i % 2 ? -1 : 1) *
                             static_cast<double>(mantissa * std::pow(10.0L, exponent)));
        }
        return values;
    }

    static std::string Printf(const char* format, int digits, long double value) {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, format, digits, value);
        return buffer;
    }

    // True when the digits of `value` after the kept ones are exactly "5" (a halfway case);
    // `format` is "%.*Lf" or "%.*LE", `digits` the digits kept after the point.
    static bool IsHalfway(const char* format, int digits, long double value) {
        const std::string exact = Printf(format, 90, value);
        const std::size_t point = exact.find('.');
        const std::size_t end = exact.find('E');
        std::string rest =
            exact.substr(point + 1 + digits,
                         end == std::string::npos ? std::string::npos : end - point - 1 - digits);
        while (!rest.empty() && rest.back() == '0')
            rest.pop_back();
        return rest == "5";
    }

    // Inserts "," between groups of three integer digits of a plain number text.
    static std::string Grouped(std::string text) {
        const std::size_t start = text[0] == '-' ? 1 : 0;
        std::size_t end = text.find('.');
        if (end == std::string::npos) end = text.size();
        for (std::size_t i = end; i > start + 3; i -= 3)
            text.insert(i - 3, ",");
        return text;
    }
};

TEST_F(PatternReferenceTest, FixedDecimalsMatchCorrectRounding) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
        const std::string pattern = decimals ? "0." + std::string(decimals, '0') : "0";
        for (const long double value : Values()) {
            if (IsHalfway("%.*Lf", decimals, value)) continue;
            std::string expected = Printf("%.*Lf", decimals, value);
            if (expected.find_first_not_of("-0.") == std::string::npos)
                expected = expected.substr(expected[0] == '-');  // zero is written unsigned
            ASSERT_EQ(FormatByPattern(pattern, value), expected) << pattern << " " << value;
        }
    }
}

TEST_F(PatternReferenceTest, ThousandsGroupTheIntegerDigits) {
    for (const long double value : Values()) {
        if (IsHalfway("%.*Lf", 2, value)) continue;
        std::string expected = Grouped(Printf("%.*Lf", 2, value));
        if (expected.find_first_not_of("-0.") == std::string::npos)
            expected = expected.substr(expected[0] == '-');
        ASSERT_EQ(FormatByPattern("#,##0.00", value), expected) << value;
    }
}

TEST_F(PatternReferenceTest, ScientificMatchesExponentNotation) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
        const std::string pattern = (decimals ? "0." + std::string(decimals, '0') : "0") + "E+00";
        for (const long double value : Values()) {
            if (IsHalfway("%.*LE", decimals, value)) continue;
            ASSERT_EQ(FormatByPattern(pattern, value), Printf("%.*LE", decimals, value))
                << pattern << " " << value;
        }
    }
}

struct TFormatCase {
    const char* Name;
    int OptNumFormat;
    int Mode;  // the number formatter's mode the format must select
};

const TFormatCase kFormatCases[] = {
    {"General", 0, 0},     {"Exponent", 1, 1},         {"Fixed", 2, 2},
    {"Engineering", 3, 3}, {"UnknownIsGeneral", 5, 0}, {"NegativeIsGeneral", -1, 0},
};

class FormatAnswerTest : public testing::TestWithParam<TFormatCase> {};

TEST_P(FormatAnswerTest, SelectsNumberFormatterMode) {
    TSettingsRecord settings;
    settings.OptNumFormat = GetParam().OptNumFormat;
    settings.OptPrecision = 6;
    settings.OptDigits = 2;
    for (const double value : {1234.5678, -0.000123, 0.0}) {
        EXPECT_EQ(FormatAnswer(value, settings), RuvoFloatToStr(GetParam().Mode, 6, 2, value))
            << value;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatAnswerTest, testing::ValuesIn(kFormatCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FormatAnswerTest, UserFormatUsesThePattern) {
    TSettingsRecord settings;
    settings.OptNumFormat = 4;
    settings.OptNumFormatStr = "0.0";
    EXPECT_EQ(FormatAnswer(2.25, settings), "2.3");
    settings.OptNumFormatStr.clear();
    EXPECT_EQ(FormatAnswer(1.0 / 3, settings), "0.333333333333333");
    settings.OptNumFormatStr.assign(300, '0');
    EXPECT_THROW(FormatAnswer(1, settings), EFormatError);
}

}  // namespace
