// The quick path of Calculate against the stages alone: the same value to the bit,
// the same error code and result text, the same variables afterwards, the same assignment
// notices and the same raised errors, on lines it takes and on lines it must leave alone.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/CalculationOutcome.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

// Calculates with the quick path allowed, or with the stages only.
TOutcome Calculate(const std::string& expression, bool stages) {
    static const TVariableList initial = StartingVariables();
    TTinyParser parser;
    parser.SetQuickPath(!stages);
    return CalculateOutcome(parser, initial, expression);
}

struct TQuickCase {
    const char* behaviour;
    const char* expression;
};

class QuickPath : public testing::TestWithParam<TQuickCase> {};

TEST_P(QuickPath, GivesWhatTheStagesGive) {
    const std::string expression = GetParam().expression;
    EXPECT_EQ(Calculate(expression, false), Calculate(expression, true)) << expression;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, QuickPath,
    testing::Values(
        TQuickCase{"left to right at equal priority", "8-3-2"},
        TQuickCase{"power is applied leftmost first", "2^3^2"},
        TQuickCase{"power binds tighter than product", "2*3^2-1"},
        TQuickCase{"brackets and functions", "SQRT(22.93*70.32)/(11.29+1)"},
        TQuickCase{"function name in lower case with blanks", " exp ( 1 ) * ln(10) "},
        TQuickCase{"assignment stores and notifies", "v0:=EXP(74.62/10)*(59.53-6.24)"},
        TQuickCase{"assignment with blanks", "Z := X*2"},
        TQuickCase{"variables, constants and unbound names", "X*Y1+PI-UNDEF+_E"},
        TQuickCase{"constant name as assignment target", "PI:=3"},
        TQuickCase{"array alone is its first element", "A+1"},
        TQuickCase{"variable text that does not read raises", "BAD+1"},
        TQuickCase{"variable beyond the double range raises", "HUGE*0"},
        TQuickCase{"number that does not read raises", "1..2+3"},
        TQuickCase{"division by zero fails and keeps the left value", "5/0+1"},
        TQuickCase{"overflow fails", "10^400"},
        TQuickCase{"function outside its domain fails", "LN(0)+SQRT(-1)"},
        TQuickCase{"frequency from the variables list", "CAP(1)"},
        TQuickCase{"unary minus is left to the stages", "-2^2"},
        TQuickCase{"operator after operator", "2*-3"}, TQuickCase{"implied product", "2(3)"},
        TQuickCase{"implied product of names", "2 X"}, TQuickCase{"parallel operator", "6//3"},
        TQuickCase{"exponent and suffix numbers", "1.5E-3*4.7K"},
        TQuickCase{"function without brackets", "SIN2"},
        TQuickCase{"name followed by a bracket is a user function", "F(2)"},
        TQuickCase{"element read", "A[1]*2"}, TQuickCase{"two assignments", "P:=Q:=3"},
        TQuickCase{"comparison", "1<2"}, TQuickCase{"unbalanced closing bracket", "1+2)*3"},
        TQuickCase{"unbalanced opening bracket", "(1+2"}, TQuickCase{"empty brackets", "()"},
        TQuickCase{"missing operand", "3*"}, TQuickCase{"tab inside", "1\t+2"},
        TQuickCase{"random constant", "_RND*0"},
        TQuickCase{"deep brackets",
                   "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
                   "(1)))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))))"
                   "))"}),
    [](const auto& info) { return test::CaseName(info.param.behaviour); });

// Random lines from a small grammar, mostly well formed, some with tokens the quick path
// must refuse.
std::string RandomLine(std::mt19937& random, int depth) {
    static const char* const kOperands[] = {"1",  "2.5", "0.001", "7.",    ".5",
                                            "X",  "y1",  "ANS",   "UNDEF", "PI",
                                            "_E", "A",   "1E3",   "4.7K",  "BAD"};
    static const char* const kFunctions[] = {"SQRT", "LN", "EXP", "SIN", "ABS", "LOG", "TRUNC"};
    static const char* const kOperators[] = {"+", "-", "*", "/", "^", " + ", "//", " "};
    auto pick = [&](const auto& table) { return std::string(table[random() % std::size(table)]); };
    std::string line;
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
        if (i > 0) line += random() % 12 == 0 ? pick(kOperators) : pick(kOperators).substr(0, 1);
        const unsigned shape = depth < 4 ? random() % 6 : 0;
        if (shape == 1) {
            line += "(" + RandomLine(random, depth + 1) + ")";
        } else if (shape == 2) {
            line += pick(kFunctions) + "(" + RandomLine(random, depth + 1) + ")";
        } else {
            line += pick(kOperands);
        }
    }
    return line;
}

TEST(QuickPathRandom, AgreesWithTheStagesOnRandomLines) {
    std::mt19937 random(20251208);
    for (int round = 0; round < 4000; ++round) {
        std::string line = RandomLine(random, 0);
        if (round % 3 == 0)
            line = (round % 2 ? "v" : "W") + std::to_string(round % 5) + ":=" + line;
        ASSERT_EQ(Calculate(line, false), Calculate(line, true)) << line;
    }
}

}  // namespace
