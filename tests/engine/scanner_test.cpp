// Scanner: splitting into terms, marking array and function names, implied "*".
//
// Each row gives an expression and the terms it must scan into, written as text/kind pairs.
#include <gtest/gtest.h>

#include <string>

#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

namespace {

std::string Dump(const TTrmList& terms) {
    std::string out;
    for (int i = 0; i < terms.Count(); ++i) {
        if (i > 0) out += ' ';
        out += terms[i].Text + "/" + std::to_string(terms[i].Kind);
    }
    return out;
}

std::string Scan(TTinyParser& parser, const std::string& expression) {
    parser.SetExpression(expression);
    parser.Tokenize();
    return Dump(parser.Terms());
}

struct ScanCase {
    const char* behaviour;
    const char* expression;
    const char* terms;
};

const ScanCase kScanCases[] = {
    {"a name may end in digits", "X2", "X2/-1"},
    {"a digit ends a function name", "SIN2", "SIN/100 2/0"},
    {"a letter extends a function name into a name", "SINX", "SINX/-1"},
    {"the longest function name wins", "SINH(1)", "SINH/100 (/10 1/0 )/10"},
    {"exponent sign belongs to the number", "1E-3", "1E-3/0"},
    {"explicit plus exponent", "1.5E+3", "1.5E+3/0"},
    {"after the exponent a minus is an operator again", "1E-3-2", "1E-3/0 -/60 2/0"},
    {"a name starting with E does not take the sign", "E-3", "E/-1 -/60 3/0"},
    {"the exponent rule is only for numeric tokens", "X1E-3", "X1E/-1 -/60 3/0"},
    {"a number with a suffix is one token", "2PI", "2PI/0"},
    {"a space separates number and name", "2 PI", "2/0 */90 PI/-1"},
    {"two numbers multiply", "2 3", "2/0 */90 3/0"},
    {"a number before a bracket multiplies", "2(3)", "2/0 */90 (/10 3/0 )/10"},
    {"two bracket groups multiply", "(1)(2)", "(/10 1/0 )/10 */90 (/10 2/0 )/10"},
    {"two names multiply", "X Y", "X/-1 */90 Y/-1"},
    {"a number before a function multiplies", "3 SIN(1)", "3/0 */90 SIN/100 (/10 1/0 )/10"},
    {"a number before an array multiplies", "2 A[1]", "2/0 */90 A/200 [/15 1/0 ]/15"},
    {"no star before a user function", "2 F(3)", "2/0 F/300 (/10 3/0 )/10"},
    {"a bracket after a name makes a user function", "F(2)", "F/300 (/10 2/0 )/10"},
    {"a square bracket after a name makes an array", "A[1]", "A/200 [/15 1/0 ]/15"},
    {"a trailing bracket is never examined", "A(", "A/-1 (/10"},
    {"a leading minus is an operator", "-3", "-/60 3/0"},
    {"names fold to upper case", "x:=5", "X/-1 :=/5 5/0"},
    {"a single equals sign is part of a name", "X=5", "X=5/-1"},
    {"only the space separates", "X\tY", "X\tY/-1"},
    {"surrounding blanks and control characters are trimmed", " \t 1 +  2 \r\n", "1/0 +/60 2/0"},
    {"two-character operators before one-character ones", "1>=2//3", "1/0 >=/50 2/0 ///70 3/0"},
    {"the inverse parallel operator is two backslashes", "50\\\\100", "50/0 \\\\/70 100/0"},
    {"magnitude comparisons are operators", "1>>2<<=3", "1/0 >>/50 2/0 <<=/50 3/0"},
    {"a function name followed by an underscore", "ABS_X", "ABS/100 _X/-1"},
    {"a function name inside a name is not split", "XSIN(1)", "XSIN/300 (/10 1/0 )/10"},
    {"an operator alone", "*", "*/90"},
    {"bytes outside ASCII stay part of names", "\xC3\xA4+1", "\xC3\xA4/-1 +/60 1/0"},
    {"empty expression", "", ""},
    {"blank expression", "  \t ", ""},
};

class ScanTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTable, ScansInto) {
    TTinyParser parser;
    EXPECT_EQ(Scan(parser, GetParam().expression), GetParam().terms) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(Scanner, ScanTable, ::testing::ValuesIn(kScanCases));

TEST(Scanner, NumbersAreReadAsTheyAreScanned) {
    TTinyParser parser;
    Scan(parser, "4.7K 1E-3 2PI .5");
    const TTrmList& terms = parser.Terms();
    ASSERT_EQ(terms.Count(), 7);
    EXPECT_DOUBLE_EQ(terms[0].Value, 4700);
    EXPECT_DOUBLE_EQ(terms[2].Value, 0.001);
    EXPECT_DOUBLE_EQ(terms[4].Value, 2e-12);
    EXPECT_DOUBLE_EQ(terms[6].Value, 0.5);
}

TEST(Scanner, ANumericTokenThatDoesNotReadRaisesWithItsText) {
    TTinyParser parser;
    parser.SetExpression("1 + 2X");
    try {
        parser.Tokenize();
        FAIL() << "no conversion error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'2X' is not a valid floating point value");
    }
    // The list keeps what was built before the failing token.
    EXPECT_EQ(Dump(parser.Terms()), "1/0 +/60");
}

TEST(Scanner, ANumberBeyondTheDoubleRangeIsAnOverflow) {
    TTinyParser parser;
    parser.SetExpression("1E400");
    EXPECT_THROW(parser.Tokenize(), EMathError);
    parser.SetExpression("1E99999");
    EXPECT_ANY_THROW(parser.Tokenize());
}

TEST(Scanner, ImpliedMultiplicationAcrossLongInput) {
    // Many implied products in one line: every pair gets exactly one "*".
    std::string expression;
    for (int i = 0; i < 1000; ++i)
        expression += "2 ";
    TTinyParser parser;
    parser.SetExpression(expression);
    parser.Tokenize();
    const TTrmList& terms = parser.Terms();
    ASSERT_EQ(terms.Count(), 1999);
    for (int i = 0; i < terms.Count(); ++i) {
        EXPECT_EQ(terms[i].Text, i % 2 == 0 ? "2" : "*");
    }
}

TEST(Scanner, OperatorTableIsLongestFirst) {
    TTinyParser parser;
    const TOpeList& table = parser.OperatorTable();
    ASSERT_EQ(table.Count(), 9 + 49 + 19);
    for (int i = 1; i < table.Count(); ++i) {
        EXPECT_GE(table[i - 1].Text.size(), table[i].Text.size()) << table[i].Text;
    }
    EXPECT_EQ(table.PriorityOf("^"), 95);
    EXPECT_EQ(table.PriorityOf("IF"), 100);
    EXPECT_EQ(table.PriorityOf(":="), 5);
    EXPECT_EQ(table.PriorityOf("="), 0);
}

}  // namespace
