// Answer formatting: the selection of the number format and every rule of the user pattern.
#include "document/AnswerFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/RuvoSub.h"

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

TEST(PatternTest, LongestAcceptedPatternIs224Characters) {
    const std::string longest = "0" + std::string(223, 'x');
    EXPECT_EQ(FormatByPattern(longest, 1), "1" + std::string(223, 'x'));
    try {
        FormatByPattern(longest + "x", 1);
        FAIL() << "a 225-character pattern was accepted";
    } catch (const EFormatError& e) {
        EXPECT_STREQ(e.what(), "Format string too long");
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
