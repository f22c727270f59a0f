// Scanner: splitting into terms, marking array and function names, implied "*".
//
// Each row gives an expression and the terms it must scan into, written as text/kind pairs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

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

void PrintTo(const ScanCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.expression));
}

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

INSTANTIATE_TEST_SUITE_P(Scanner, ScanTable, ::testing::ValuesIn(kScanCases), test::BehaviourName);

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

// A literal reference of the splitting: every operator of the table tried in order at every
// position, with the rules for function names, exponent signs and spaces; then the marking
// passes and the implied "*" inserted one by one from the end. Numbers are not converted, so
// the reference gives text/kind pairs only.
std::string ReferenceScan(const TOpeList& table, std::string s) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    auto trim = [&](std::string text) {
        size_t b = 0;
        size_t e = text.size();
        while (b < e && isBlank(text[b]))
            ++b;
        while (e > b && isBlank(text[e - 1]))
            --e;
        return text.substr(b, e - b);
    };
    auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    s = trim(s);
    std::vector<std::pair<std::string, int>> terms;
    while (!s.empty()) {
        const bool numeric = (s[0] >= '0' && s[0] <= '9') || s[0] == '.';
        size_t pos = 0;
        int found = -1;
        bool separator = false;
        for (pos = 1; pos <= s.size() && found < 0 && !separator; ++pos) {
            for (int k = 0; k < table.Count(); ++k) {
                const std::string& o = table[k].Text;
                if (pos > 1 && letter(o[0])) continue;
                if (numeric && pos > 1 && (s[pos - 1] == '+' || s[pos - 1] == '-') &&
                    s[pos - 2] == 'E') {
                    continue;
                }
                if (s.compare(pos - 1, o.size(), o) == 0) {
                    if (letter(o[0]) && pos - 1 + o.size() < s.size() &&
                        letter(s[pos - 1 + o.size()])) {
                        continue;
                    }
                    found = k;
                    break;
                }
                if (s[pos - 1] == ' ') separator = true;
            }
        }
        --pos;  // the loop stepped past the position where it stopped
        if (found < 0 && !separator) {
            terms.push_back({s, numeric ? 0 : -1});
            break;
        }
        if (pos > 1) terms.push_back({trim(s.substr(0, pos - 1)), numeric ? 0 : -1});
        if (separator) {
            s = trim(s.substr(pos));
        } else {
            terms.push_back({table[found].Text, table[found].Priority});
            s = trim(s.substr(pos - 1 + table[found].Text.size()));
        }
    }
    for (size_t i = 1; i + 1 < terms.size(); ++i) {
        if (terms[i].first == "[" && terms[i - 1].second == -1) terms[i - 1].second = 200;
    }
    for (size_t i = 1; i + 1 < terms.size(); ++i) {
        if (terms[i].first == "(" && terms[i - 1].second == -1) terms[i - 1].second = 300;
    }
    for (size_t i = terms.size(); i-- > 1;) {
        const auto& [lt, lk] = terms[i - 1];
        const auto& [rt, rk] = terms[i];
        const bool rOperand = rk <= 0 || rk == 200 || rk == 100;
        if (((lk == 0 || lt == ")" || lt == "]") && (rOperand || rt == "(")) ||
            (lk < 0 && rOperand)) {
            terms.insert(terms.begin() + static_cast<long>(i), {"*", 90});
        }
    }
    std::string out;
    for (size_t i = 0; i < terms.size(); ++i) {
        if (i > 0) out += ' ';
        out += terms[i].first + "/" + std::to_string(terms[i].second);
    }
    return out;
}

TEST(Scanner, AgreesWithALiteralReferenceOnRandomText) {
    static const char kAlphabet[] = "SINHXEeif_123.0+-*/^=:<>!&|,()[]\\#%  \t";
    std::mt19937 random(1208);
    TTinyParser parser;
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const size_t length = random() % 20;
        for (size_t i = 0; i < length; ++i)
            text += kAlphabet[random() % (sizeof kAlphabet - 1)];
        parser.SetExpression(text);
        try {
            parser.Tokenize();
        } catch (const std::exception&) {
            continue;  // a numeric token that does not read: the split is not reached
        }
        ++compared;
        ASSERT_EQ(Dump(parser.Terms()), ReferenceScan(parser.OperatorTable(), text)) << text;
    }
    EXPECT_GT(compared, 5000);
}

}  // namespace
