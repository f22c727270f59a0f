// Number text: reading with exponents and unit suffixes, writing in the four styles.
#include "engine/RuvoSub.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/MathFault.h"

using namespace tallyon;

namespace {

// Names each parameterised case after its row.
constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

struct ReadCase {
    const char* name;
    const char* text;
    long double expected;
};

class ReadsNumber : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadsNumber, ToTheNearestDouble) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(static_cast<double>(RuvoStrToFloat(c.text)), static_cast<double>(c.expected))
        << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ReadsNumber,
    testing::Values(
        ReadCase{"KiloSuffix", "4.7K", 4700}, ReadCase{"LowerCaseIsFolded", "2.2u", 2.2e-6L},
        ReadCase{"MegaAsMEG", "1MEG", 1e6L}, ReadCase{"MegaAsMG", "1MG", 1e6L},
        ReadCase{"MIsMilli", "1M", 1e-3L}, ReadCase{"Tera", "3T", 3e12L},
        ReadCase{"Atto", "5A", 5e-18L}, ReadCase{"DegreesToRadians", "30DEG", 0.5235987755982988L},
        ReadCase{"Exponent", "1E3", 1000}, ReadCase{"NegativeExponent", "1.5E-3", 0.0015L},
        ReadCase{"LowerCaseExponent", "1.5e-3", 0.0015L},
        ReadCase{"FractionalExponent", "1E0.5", 3.1622776601683795L},
        ReadCase{"TextAfterSuffixIgnored", "3KX", 3000},
        ReadCase{"SuffixTableOrderNotTextOrder", "1PF", 1e-12L},
        ReadCase{"PointAloneIsZero", ".", 0}, ReadCase{"ExponentWithoutDigits", "2E", 2},
        ReadCase{"LeadingPoint", ".25", 0.25L}, ReadCase{"TrailingPoint", "7.", 7},
        ReadCase{"SignedMantissa", "-12.5", -12.5L}, ReadCase{"PlusSign", "+3", 3},
        ReadCase{"TrailingBlanks", "42  ", 42},
        ReadCase{"OneThird", "0.333333333333333", 0.333333333333333L},
        ReadCase{"ManyDigitsSlowPath", "3.14159265358979323846264338327950288",
                 3.14159265358979323846264338327950288L},
        ReadCase{"LargeLiteralExponent", "1.5E300", 1.5e300L},
        ReadCase{"TinyUnderflowsToZero", "1E-99999", 0},
        ReadCase{"SuffixEndsTheNumber", "2KE2", 2000}),
    RowName);

// Values that are exact in both decimal and binary must read exactly.
TEST(NumberText, ShortLiteralsReadCorrectlyRoundedAndSuffixScalesExponent) {
    EXPECT_EQ(RuvoStrToFloat("123456.789"), 123456.789L);
    EXPECT_EQ(RuvoStrToFloat("0.1"), 0.1L);
    EXPECT_GT(RuvoStrToFloat("1E3K"), 1e2999L);
    EXPECT_LT(RuvoStrToFloat("1E3K"), 1e3001L);
    EXPECT_GT(RuvoStrToFloat("1E1K"), 9.99e999L);
}

struct FailCase {
    const char* name;
    const char* text;
    const char* message;
};

class RejectsText : public testing::TestWithParam<FailCase> {};

TEST_P(RejectsText, WithTheConversionMessage) {
    const FailCase& c = GetParam();
    try {
        RuvoStrToFloat(c.text);
        FAIL() << "no error for " << c.text;
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, RejectsText,
    testing::Values(
        FailCase{"EmptyText", "", "RuvoStrToFloat: Not a number."},
        FailCase{"LetterFirst", "K3", "RuvoStrToFloat: Not a number."},
        FailCase{"BlankFirst", " 3", "RuvoStrToFloat: Not a number."},
        FailCase{"UnknownLetter", "2X", "'2X' is not a valid floating point value"},
        FailCase{"SuffixFoundBeforeMilli", "1MK", "'1M' is not a valid floating point value"},
        FailCase{"MessageShowsFoldedText", "2x", "'2X' is not a valid floating point value"},
        FailCase{"SignAlone", "-", "'-' is not a valid floating point value"},
        FailCase{"TwoPoints", "1.2.3", "'1.2.3' is not a valid floating point value"},
        FailCase{"BlankInside", "1 2", "'1 2' is not a valid floating point value"},
        FailCase{"TabIsNoBlank", "1\t", "'1\t' is not a valid floating point value"},
        FailCase{"HexIsNoLiteral", "0X10", "'0X10' is not a valid floating point value"},
        FailCase{"InfinityIsNoLiteral", "+INF", "'+I' is not a valid floating point value"},
        FailCase{"SignAfterExponentSplitNeedsDigits", "2E+",
                 "'+' is not a valid floating point value"},
        FailCase{"LiteralBeyondExtendedRange", "1.E99999",
                 "'1.E99999' is not a valid floating point value"},
        FailCase{"BadExponentPart", "1E+X", "'+X' is not a valid floating point value"},
        FailCase{"SuffixWithoutMantissa", "-K", "'-' is not a valid floating point value"}),
    RowName);

TEST(NumberText, TryReportsTheFirstCharacterTestOnly) {
    long double value = 5;
    EXPECT_FALSE(TryRuvoStrToFloat("", value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(TryRuvoStrToFloat("ABC", value));
    EXPECT_TRUE(TryRuvoStrToFloat("12", value));
    EXPECT_EQ(value, 12);
    EXPECT_THROW(TryRuvoStrToFloat("1Q", value), EConvertError);
}

TEST(NumberText, ExponentBeyondExtendedRangeIsAnOverflow) {
    EXPECT_THROW(RuvoStrToFloat("1E99999"), EMathError);
    EXPECT_THROW(RuvoStrToFloat("1E5000"), EMathError);
    EXPECT_THROW(RuvoStrToFloat("1E1T"), EMathError);
    EXPECT_NO_THROW(RuvoStrToFloat("1E4000"));
    EXPECT_THROW(RuvoStrToFloat("1.E4932T"), EMathError);  // the suffix scales it beyond
}

TEST(NumberText, UnitSuffixWithoutExponentSplit) {
    EXPECT_EQ(ApplyUnitSuffix("4.7K"), 4.7L * 1e3L);
    EXPECT_EQ(ApplyUnitSuffix("1E3"), 1000);  // a plain literal may carry its own exponent
    EXPECT_THROW(ApplyUnitSuffix("1k"), EConvertError);  // the search is case-sensitive
}

// Any text whatsoever gives a value or an error.
TEST(NumberText, ArbitraryTextNeverCrashes) {
    const std::string alphabet = "0123456789.+-EeKMGTUNPFADX \t\"";
    uint32_t state = 12345;
    for (int round = 0; round < 20000; ++round) {
        state = state * 1664525u + 1013904223u;
        std::string text;
        const int length = static_cast<int>(state >> 28);
        for (int k = 0; k < length; ++k) {
            state = state * 1664525u + 1013904223u;
            text += alphabet[(state >> 16) % alphabet.size()];
        }
        try {
            const long double v = RuvoStrToFloat(text);
            EXPECT_FALSE(std::isnan(v)) << text;
            EXPECT_FALSE(std::isinf(v)) << text;
        } catch (const EConvertError&) {
        } catch (const EMathError&) {
        }
    }
    EXPECT_NO_THROW(RuvoStrToFloat(std::string(4000, '9')));
    EXPECT_THROW(RuvoStrToFloat(std::string(5000, '9')), EConvertError);
    EXPECT_NO_THROW(RuvoStrToFloat("0." + std::string(5000, '0') + "1"));
    EXPECT_THROW(RuvoStrToFloat(std::string(4000, '9') + "E999"), EMathError);
}

struct WriteCase {
    const char* name;
    int mode;
    int precision;
    int digits;
    long double value;
    const char* expected;
};

class WritesNumber : public testing::TestWithParam<WriteCase> {};

TEST_P(WritesNumber, AsText) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(RuvoFloatToStr(c.mode, c.precision, c.digits, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    General, WritesNumber,
    testing::Values(WriteCase{"Zero", 0, 15, 0, 0, "0"},
                    WriteCase{"NegativeZeroIsZero", 0, 15, 0, -0.0L, "0"},
                    WriteCase{"Integer", 0, 15, 0, 1500, "1500"},
                    WriteCase{"SmallestPlain", 0, 15, 0, 0.0001L, "0.0001"},
                    WriteCase{"ScientificBelowTenThousandth", 0, 15, 0, 0.00001L, "1E-5"},
                    WriteCase{"ScientificMantissaDigits", 0, 15, 0, 1.5e-7L, "1.5E-7"},
                    WriteCase{"LargestPlain", 0, 15, 0, 1e14L, "100000000000000"},
                    WriteCase{"ScientificFromPrecision", 0, 15, 0, 1e15L, "1E15"},
                    WriteCase{"ScientificLarge", 0, 15, 0, 1e20L, "1E20"},
                    WriteCase{"OneThird", 0, 15, 0, 1.0L / 3, "0.333333333333333"},
                    WriteCase{"TwoThirdsRoundsUp", 0, 15, 0, 2.0L / 3, "0.666666666666667"},
                    WriteCase{"Negative", 0, 15, 0, -2.5L, "-2.5"},
                    WriteCase{"PointInsideDigits", 0, 15, 0, 123456.789L, "123456.789"},
                    WriteCase{"DoubleNoiseRoundedAway", 0, 15, 0, 0.1 + 0.2, "0.3"},
                    WriteCase{"ExactTieRoundsAwayFromZero", 0, 2, 0, 0.125L, "0.13"},
                    WriteCase{"NegativeTieRoundsAwayFromZero", 0, 2, 0, -0.125L, "-0.13"},
                    WriteCase{"JustBelowTieRoundsDown", 0, 2, 0, 0.125L - 1e-20L, "0.12"},
                    WriteCase{"CarryToNextPower", 0, 3, 0, 9.9999L, "10"},
                    WriteCase{"PrecisionClampedToTwo", 0, 0, 0, 1.26L, "1.3"},
                    WriteCase{"PrecisionClampedTo18", 0, 99, 0, 1.0L / 3, "0.333333333333333333"},
                    WriteCase{"ModeFourIsGeneral", 4, 15, 0, 0.5L, "0.5"},
                    WriteCase{"ModeFiveIsEmpty", 5, 15, 0, 1, ""},
                    WriteCase{"NegativeModeIsEmpty", -1, 15, 0, 1, ""},
                    WriteCase{"ExtendedRangeExponent", 0, 15, 0, 1e4000L, "1E4000"}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Exponent, WritesNumber,
    testing::Values(WriteCase{"PaddedToDigits", 1, 4, 2, 1500, "1.500E+03"},
                    WriteCase{"Zero", 1, 4, 2, 0, "0.000E+00"},
                    WriteCase{"NegativeZero", 1, 4, 2, -0.0L, "0.000E+00"},
                    WriteCase{"NegativeExponent", 1, 4, 2, 0.00123L, "1.230E-03"},
                    WriteCase{"FourDigitsMeansShortest", 1, 4, 4, 1500, "1.500E+3"},
                    WriteCase{"WidthThree", 1, 4, 3, -1500, "-1.500E+003"},
                    WriteCase{"WidthZero", 1, 3, 0, 2.5e-7L, "2.50E-7"},
                    WriteCase{"RoundingCarriesExponent", 1, 3, 2, 9.996L, "1.00E+01"}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Fixed, WritesNumber,
    testing::Values(WriteCase{"ZeroFilledDecimals", 2, 15, 2, 2.5L, "2.50"},
                    WriteCase{"RoundedAtDigits", 2, 15, 2, 1234.567L, "1234.57"},
                    WriteCase{"NoPointWithoutDigits", 2, 15, 0, 1234.567L, "1235"},
                    WriteCase{"NegativeRoundedToZeroHasNoSign", 2, 15, 2, -0.004L, "0.00"},
                    WriteCase{"SmallRoundsUpIntoDigits", 2, 15, 2, 0.006L, "0.01"},
                    WriteCase{"FarBelowDigitsIsZero", 2, 15, 2, 0.0000001L, "0.00"},
                    WriteCase{"LeadingFractionZeros", 2, 15, 4, 0.0123L, "0.0123"},
                    WriteCase{"PrecisionLimitsDigits", 2, 4, 3, 123.456L, "123.500"},
                    WriteCase{"SingleRoundingOfTheExactValue", 2, 3, 2, 0.1449L, "0.14"},
                    WriteCase{"BeyondPrecisionIsGeneral", 2, 4, 2, 123456, "1.235E5"},
                    WriteCase{"DigitsCappedAt18", 2, 18, 30, 0.5L, "0.500000000000000000"},
                    WriteCase{"NegativeZero", 2, 15, 2, -0.0L, "0.00"}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Engineering, WritesNumber,
    testing::Values(
        WriteCase{"ZeroAsFixed", 3, 15, 2, 0, "0.00"}, WriteCase{"Kilo", 3, 15, 2, 1500, "1.5K"},
        WriteCase{"Micro", 3, 15, 2, 2.2e-6, "2.2U"}, WriteCase{"Nano", 3, 15, 2, 4.7e-9, "4.7N"},
        WriteCase{"MilliFromTruncatedLog", 3, 15, 2, 0.05, "50M"},
        WriteCase{"TenthsKeepNoSuffix", 3, 15, 2, 0.5, "0.5"},
        WriteCase{"HalfMilli", 3, 15, 2, 0.0005, "0.5M"},
        WriteCase{"ThreeDigitMantissa", 3, 15, 2, 123456, "123.456K"},
        WriteCase{"Mega", 3, 15, 2, 2.5e6, "2.5MG"}, WriteCase{"Tera", 3, 15, 2, 4e13, "40T"},
        WriteCase{"LargeAsExponent", 3, 15, 2, 1e15, "1.00000000000000E+15"},
        WriteCase{"TinyAsExponent", 3, 15, 2, 1e-19, "1.00000000000000E-19"},
        WriteCase{"Negative", 3, 15, 2, -2200, "-2.2K"}),
    RowName);

// The reference digit generator: printf's digits of the whole exact expansion (400 digits
// hold all of them in the range tested), rounded half away from zero by hand.
std::string ReferenceExponentText(long double v, int precision) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.400Le", std::fabs(v));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exponent = std::atoi(p + 1);
    std::string kept = digits.substr(0, static_cast<size_t>(precision));
    if (digits[static_cast<size_t>(precision)] >= '5') {
        int k = precision - 1;
        while (k >= 0 && kept[static_cast<size_t>(k)] == '9')
            kept[static_cast<size_t>(k--)] = '0';
        if (k < 0) {
            kept = "1" + kept.substr(0, kept.size() - 1);
            ++exponent;
        } else {
            ++kept[static_cast<size_t>(k)];
        }
    }
    std::string out = v < 0 ? "-" : "";
    out += kept[0];
    out += '.';
    out += kept.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    out += std::to_string(exponent < 0 ? -exponent : exponent);
    return out;
}

// Random extended values over a wide range, and exact ties, against the reference.
TEST(NumberText, DigitsAreTheExactValueRoundedHalfAwayFromZero) {
    std::mt19937_64 random(2024);
    std::vector<long double> values;
    for (int i = 0; i < 3000; ++i) {
        const long double fraction =
            std::ldexp(static_cast<long double>(random() | (1ull << 63)), -64);
        const int exponent = static_cast<int>(random() % 400) - 200;
        const long double v = std::ldexp(fraction, exponent);
        values.push_back(i % 2 ? v : -v);
    }
    for (long double n = 1; n < 1e18L; n = n * 10 + 3) {
        values.push_back(n + 0.5L);  // a tie at the digit after the point
        values.push_back(-(n + 0.5L));
        values.push_back(n / 1024);  // ties further down, exact in binary
    }
    for (int k = 1; k < 2000; ++k)
        values.push_back(k / 1000.0L);
    // Ties beyond 1e20, exact in binary (5^27 < 2^64), where the integer path does not reach.
    for (long double v = 125e19L; v < 1e28L; v *= 10)
        values.push_back(-v);
    for (long double v : values)
        for (int precision : {2, 5, 7, 15, 18})
            ASSERT_EQ(RuvoFloatToStr(1, precision, 0, v), ReferenceExponentText(v, precision))
                << static_cast<double>(v) << " P=" << precision;
}

// Plain literals and stored numbers (signed, with an exponent) take shorter readings than
// the general one, which a trailing blank forces; both must give the very same value, at
// the edges of the short readings too.
TEST(NumberText, ShortReadingsAgreeWithTheGeneralOne) {
    const auto same = [](const std::string& text) {
        long double shortValue = 0;
        long double generalValue = 0;
        bool shortRead = false;
        bool generalRead = false;
        try {
            shortRead = TryRuvoStrToFloat(text, shortValue);
        } catch (const std::exception&) {
        }
        try {
            generalRead = TryRuvoStrToFloat(text + " ", generalValue);
        } catch (const std::exception&) {
        }
        EXPECT_EQ(shortRead, generalRead) << text;
        if (shortRead && generalRead) {
            EXPECT_TRUE(std::memcmp(&shortValue, &generalValue, 10) == 0)
                << text << ": " << static_cast<double>(shortValue) << " vs "
                << static_cast<double>(generalValue);
        }
    };
    const char* texts[] = {
        "0",
        "-0",
        "+7",
        "-.",
        "-",
        "+",
        "-.25",
        "1E5",
        "1e5",
        "-1.5E-7",
        "+2.5E+300",
        "1E-4951",
        "1E4933",
        "1.E5",
        "-E5",
        "1E",
        "1E+",
        "1E-0",
        "1E007",
        "1E5E3",
        "1.2.3E4",
        "-1234567890123456789E-3",
        "-12345678901234567890E2",
        "1E1234567890",
        "9.99999999999999E-5",
        "-6.02214076E23",
        "1.5E-7 ",
    };
    for (const char* text : texts)
        same(text);
    std::mt19937_64 random(11);
    for (int k = 0; k < 20000; ++k) {
        const uint64_t bits = random();
        const double d = std::ldexp(static_cast<double>(bits % 1000003) - 500000.0,
                                    static_cast<int>(random() % 200) - 100);
        same(GeneralNumberText(d));
        same(RuvoFloatToStr(0, 18, 0, d));
        same(RuvoFloatToStr(1, 2 + static_cast<int>(k % 17), 0, d));
        // Digits, zeros and points of any length: the edges of 19 digits and 27 decimals.
        const char alphabet[] = "000000123456789...";
        std::string literal(random() % 34, '0');
        for (char& c : literal)
            c = alphabet[random() % (sizeof alphabet - 1)];
        same(literal);
        same("-" + literal);
        same(literal + "E-" + std::to_string(random() % 30));
    }
}

// Plain literals (digits and a point) take a shorter reading than signed ones; both must
// give the very same value, at the edges of the short reading too.
TEST(NumberText, PlainLiteralsReadAsTheirSignedForm) {
    const char* texts[] = {
        "0",
        "7",
        "007",
        ".",
        "7.",
        ".25",
        "0.000123",
        "1234567890123456789",             // 19 significant digits: still short
        "12345678901234567890",            // 20: the long reading
        "0.000000000000000000000000001",   // 27 decimals
        "0.0000000000000000000000000001",  // 28 decimals
        "1.000000000000000000000000001",   // 28 significant digits
        "99999999999999999999999999.5",
        "0.1",
        "123.456",
        "100000000000000000000",
    };
    for (const char* text : texts) {
        const std::string signedText = std::string("+") + text + " ";
        EXPECT_EQ(RuvoStrToFloat(text), RuvoStrToFloat(signedText)) << text;
    }
    EXPECT_THROW(RuvoStrToFloat("1.2.3"), EConvertError);
    EXPECT_THROW(RuvoStrToFloat(".."), EConvertError);
}

// The General layout, rebuilt from the Exponent text of the same value: digits without
// trailing zeros, positional from 1E-4 up to the precision, else mantissa and "E".
std::string ReferenceGeneralText(long double v, int precision) {
    const std::string e = RuvoFloatToStr(1, precision, 0, v);
    const bool negative = e[0] == '-';
    const size_t mark = e.find('E');
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < mark; ++i)
        if (e[i] != '.') digits += e[i];
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty()) return "0";
    const int x = std::atoi(e.c_str() + mark + 1) + 1;  // value = 0.digits * 10^x
    std::string out = negative ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (x >= -3 && x <= 0) {
        out += "0." + std::string(static_cast<size_t>(-x), '0') + digits;
    } else if (x > 0 && x <= precision) {
        out += digits.substr(0, static_cast<size_t>(std::min(x, count)));
        if (x > count) out += std::string(static_cast<size_t>(x - count), '0');
        if (count > x) out += "." + digits.substr(static_cast<size_t>(x));
    } else {
        out += digits.substr(0, 1);
        if (count > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(x - 1);
    }
    return out;
}

TEST(NumberText, GeneralLayoutAgreesWithTheExponentDigits) {
    std::mt19937_64 random(77);
    std::vector<long double> values = {
        1e-4L,    9.99999e-5L, 0.5L,    1e18L,  123456789012345678.0L,
        1e-4950L, 1e4931L,     -1e300L, 5e-324L};
    for (int i = 0; i < 3000; ++i) {
        const long double fraction =
            std::ldexp(static_cast<long double>(random() | (1ull << 63)), -64);
        const long double v = std::ldexp(fraction, static_cast<int>(random() % 160) - 80);
        values.push_back(i % 3 ? v : -v);
    }
    for (long double v : values)
        for (int precision : {2, 6, 15, 18})
            ASSERT_EQ(RuvoFloatToStr(0, precision, 0, v), ReferenceGeneralText(v, precision))
                << static_cast<double>(v) << " P=" << precision;
}

// The general text of the value written last is kept; a different value is never answered
// from it, and the writer into a caller's string gives the same text.
TEST(NumberText, GeneralNumberTextFollowsEveryNewValue) {
    const long double values[] = {1.0L / 3, 1.0L / 3, 2.0L / 3, 0.0L, -0.0L, 1.0L / 3, -1.0L / 3};
    const char* expected[] = {
        "0.333333333333333", "0.333333333333333", "0.666666666666667", "0", "0",
        "0.333333333333333", "-0.333333333333333"};
    std::string reused = "previous text that is longer than any answer";
    for (size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(GeneralNumberText(values[i]), expected[i]) << i;
        GeneralNumberText(reused, values[i]);
        EXPECT_EQ(reused, expected[i]) << i;
    }
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_EQ(GeneralNumberText(nan), "NAN");
    EXPECT_EQ(GeneralNumberText(nan), "NAN");
    EXPECT_EQ(GeneralNumberText(-std::numeric_limits<long double>::infinity()), "-INF");
}

TEST(NumberText, GeneralNumberTextIsGeneralWithFifteenDigits) {
    EXPECT_EQ(GeneralNumberText(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(GeneralNumberText(5e-5L), "5E-5");
    EXPECT_EQ(GeneralNumberText(1e15L), "1E15");
    EXPECT_EQ(GeneralNumberText(-7), "-7");
}

// Whatever the General text of a double, reading it back gives the value to 15 digits.
TEST(NumberText, GeneralTextReadsBack) {
    const double values[] = {
        1.0 / 3,           2.0 / 3, 1e-300,  4.9e-324,     1.7976931348623157e308,
        123456789012345.0, 0.1,     -42.125, 6.02214076e23};
    for (double v : values) {
        const long double back = RuvoStrToFloat(GeneralNumberText(v));
        EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14) << v;
    }
}

}  // namespace
