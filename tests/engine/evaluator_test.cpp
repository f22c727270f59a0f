// Evaluator: reduction order, bracket handling, every operator with its faults, arrays and
// assignment with its notification.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

struct ValueCase {
    const char* behaviour;
    const char* expression;
    double value;
    int errorCode;
};

// Runs rows against a parser linked to a list holding the array A = 1,2,3.
class ValueTable : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueTable, Evaluates) {
    const ValueCase& row = GetParam();
    TVariableList variables;
    variables.Set("A", "1,2,3");
    TTinyParser parser;
    parser.SetVariables(&variables);
    parser.SetExpression(row.expression);
    EXPECT_DOUBLE_EQ(parser.ResultValue(), row.value) << row.behaviour;
    EXPECT_EQ(parser.ErrorCode(), row.errorCode) << row.behaviour;
}

const ValueCase kReductionCases[] = {
    {"multiplication before addition", "1+2*3", 7, 0},
    {"brackets first", "(1+2)*3", 9, 0},
    {"power is left associative", "2^3^2", 64, 0},
    {"division is left associative", "8/2/2", 2, 0},
    {"power before multiplication", "2*3^2", 18, 0},
    {"power binds before prefix minus", "-2^2", -4, 0},
    {"a missing closing bracket closes at the end", "(1+2", 3, 0},
    {"a missing opening bracket opens at the start", "1+2)", 3, 0},
    {"round and square brackets pair freely", "(1+2]", 3, 0},
    {"nested brackets", "((2+3)*(4-1))^2", 225, 0},
    {"an empty pair is 0", "()", 0, 0},
    {"an infix operator without right operand", "3*", 0, 2},
    {"an infix operator without left operand is a prefix giving 0", "*3", 0, 0},
    {"a function without operand", "1+SQRT", 1, 2},
    {"a lone term is never reduced", "SQRT", 0, 0},
    {"a prefix minus at the end of its stretch", "(1-)", 0, 2},
    {"an operator as operand counts 0", "2*-3", 0, 0},
    {"a closing bracket first is never paired", ")1+2", 0, 0},
    {"assignment binds loosest", "X := 1 + 2", 3, 0},
    {"a comma list yields its last value", "1, 2, 3", 3, 0},
    {"the last failure's code stays", "(1/0) + 3*", 0, 2},
    {"a later fault replaces a missing operand", "(3*) + 1/0", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Reduction, ValueTable, ::testing::ValuesIn(kReductionCases));

const ValueCase kOperatorCases[] = {
    {"division by zero fails", "1/0", 1, 1},
    {"zero by zero fails", "0/0", 0, 1},
    {"integer quotient truncates", "7 % 2", 3, 0},
    {"integer quotient truncates toward zero", "(-7) % 2", -3, 0},
    {"integer quotient by zero fails", "7 % 0", 7, 1},
    {"remainder of truncated operands", "7.9 # 2.5", 1, 0},
    {"remainder takes the dividend's sign", "(-7) # 3", -1, 0},
    {"remainder by zero fails", "7 # 0", 7, 1},
    {"remainder beyond 64 bits fails", "1E19 # 2", 1e19, 1},
    {"remainder of the lowest integer by -1", "(-9223372036854775808) # (-1)", 0, 0},
    {"square root by power", "2 ^ 0.5", 1.4142135623730951, 0},
    {"zero to the zero", "0 ^ 0", 1, 0},
    {"negative base, whole exponent", "(-8) ^ 3", -512, 0},
    {"negative base, fractional exponent fails", "(-8) ^ (1/3)", -8, 1},
    {"negative whole exponent", "2 ^ (-2)", 0.25, 0},
    {"zero to a negative power fails", "0 ^ (-1)", 0, 1},
    {"power overflow fails", "10 ^ 400", 10, 1},
    {"power underflow is zero", "10 ^ (-400)", 0, 0},
    {"huge whole exponent", "1 ^ 2147483647", 1, 0},
    {"exponent beyond 32 bits uses logarithms", "4 ^ 4294967296.5", 4, 1},
    {"multiplication overflow fails", "1E308 * 10", 1e308, 1},
    {"a sum that rounds down to the largest double is stored", "1.7976931348623157E308 + 5E291",
     1.7976931348623157e308, 0},
    {"a sum that rounds up to infinity fails", "1.7976931348623157E308 + 1E292",
     1.7976931348623157e308, 1},
    {"parallel resistances", "100 // 100", 50, 0},
    {"parallel of opposite values fails", "1 // (-1)", 1, 1},
    {"inverse parallel", "50 \\\\ 100", 100, 0},
    {"inverse parallel of equal values fails", "100 \\\\ 100", 100, 1},
    {"or with left zero", "0 | 5", 1, 0},
    {"or with right zero", "5 | 0", 1, 0},
    {"or of zeros", "0 | 0", 0, 0},
    {"and with zero", "2 & 0", 0, 0},
    {"and of non-zeros", "2 & 3", 1, 0},
    {"and multiplies in extended precision", "1E-200 & 1E-200", 1, 0},
    {"not of zero", "!0", 1, 0},
    {"not of non-zero", "!7", 0, 0},
    {"equal", "1 == 1", 1, 0},
    {"not equal", "1 != 1", 0, 0},
    {"greater or equal", "2 >= 3", 0, 0},
    {"less", "2 < 3", 1, 0},
    {"magnitude greater", "-5 >> 3", 1, 0},
    {"magnitude greater or equal", "-3 >>= 3", 1, 0},
    {"magnitude less", "3 << -5", 1, 0},
    {"magnitude less or equal", "4 <<= -3", 0, 0},
    {"an operator without infix meaning keeps the left value", "3 ! 2", 3, 0},
    {"square root of a negative fails", "SQRT(-1)", 0, 1},
};
INSTANTIATE_TEST_SUITE_P(Operators, ValueTable, ::testing::ValuesIn(kOperatorCases));

const ValueCase kArgumentListCases[] = {
    {"a function sees the whole list", "SUM(1, 2, 3)", 6, 0},
    {"square brackets group like round ones", "SUM[1, 2, 3]", 6, 0},
    {"a single argument", "SUM(5)", 5, 0},
    {"order of the list is kept", "MAX(3, 9, 2) - MIN(3, 9, 2)", 7, 0},
    {"a one-argument function uses the last value", "SQRT(9, 16)", 4, 0},
    {"conditional with three arguments", "IF(0, 10, 20)", 20, 0},
    {"conditional with two arguments is 0", "IF(1, 10)", 0, 0},
    {"lists of neighbouring calls stay apart", "SUM(1, 2) + SUM(3, 4)", 10, 0},
    {"a bracketed list keeps its arguments", "SUM((1, 2), 3)", 6, 0},
    {"elements as arguments", "SUM(A[0], A[1], A[2])", 6, 0},
    {"an element index is the last value of its list", "A[0, 2]", 3, 0},
};
INSTANTIATE_TEST_SUITE_P(ArgumentLists, ValueTable, ::testing::ValuesIn(kArgumentListCases));

const ValueCase kArrayCases[] = {
    {"first element", "A[0]", 1, 0},
    {"last element", "A[2]", 3, 0},
    {"index past the end reads 0", "A[3]", 0, 0},
    {"negative index reads 0", "A[-1]", 0, 0},
    {"index is truncated", "A[1.9]", 2, 0},
    {"an array alone is its first element", "A", 1, 0},
    {"elements in arithmetic", "A[1] * A[2] + A", 7, 0},
    {"an element of an unknown array is 0", "B[0]", 0, 0},
    {"a huge index reads 0", "A[1E300]", 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Arrays, ValueTable, ::testing::ValuesIn(kArrayCases));

struct Notification {
    std::string name;
    std::string value;
    int idx;
};

// A parser linked to a list, recording every notification.
class Assignment : public ::testing::Test {
protected:
    Assignment() {
        parser.SetVariables(&variables);
        parser.SetOnSubstitute(
            [this](TTinyParser& sender, std::string& name, std::string& value, int idx) {
                EXPECT_EQ(&sender, &parser);
                calls.push_back({name, value, idx});
            });
    }
    double Run(const std::string& expression) {
        parser.SetExpression(expression);
        return parser.ResultValue();
    }

    TVariableList variables;
    TTinyParser parser;
    std::vector<Notification> calls;
};

TEST_F(Assignment, PlainVariableIsNotifiedThenStored) {
    EXPECT_DOUBLE_EQ(Run("X := 1/3"), 1.0 / 3);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "X");
    EXPECT_EQ(calls[0].value, "0.333333333333333");
    EXPECT_EQ(calls[0].idx, -1);
    EXPECT_EQ(variables.Get("X"), "0.333333333333333");
}

TEST_F(Assignment, ElementWritePadsWithZeros) {
    variables.Set("A", "1,2,3");
    EXPECT_DOUBLE_EQ(Run("A[5] := 7"), 7);
    EXPECT_EQ(variables.Get("A"), "1,2,3,0,0,7");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "A");
    EXPECT_EQ(calls[0].value, "7");
    EXPECT_EQ(calls[0].idx, 5);
}

TEST_F(Assignment, ElementWriteCreatesTheArray) {
    Run("B[2] := 4");
    EXPECT_EQ(variables.Get("B"), "0,0,4");
}

TEST_F(Assignment, ElementIndexFromHundredIsNotStoredButNotified) {
    variables.Set("A", "1,2,3");
    EXPECT_DOUBLE_EQ(Run("A[100] := 1"), 1);
    EXPECT_EQ(parser.ErrorCode(), 0);
    EXPECT_EQ(variables.Get("A"), "1,2,3");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].idx, 100);
}

TEST_F(Assignment, NegativeElementIndexFails) {
    variables.Set("A", "1,2,3");
    Run("A[-1] := 9");
    EXPECT_EQ(parser.ErrorCode(), 1);
    EXPECT_EQ(variables.Get("A"), "1,2,3");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].idx, -1);
}

TEST_F(Assignment, LaterTermsSeeEarlierAssignments) {
    EXPECT_DOUBLE_EQ(Run("(X := 2) + (Y := X)"), 2);
    EXPECT_EQ(variables.Get("X"), "2");
    // Names are bound before evaluation: Y got X's value from before the line.
    EXPECT_EQ(variables.Get("Y"), "0");
    EXPECT_DOUBLE_EQ(Run("X + Y"), 2);
}

TEST_F(Assignment, TheHandlerMayRenameTheTarget) {
    parser.SetOnSubstitute([](TTinyParser&, std::string& name, std::string& value, int) {
        name = "RENAMED";
        value = "999";  // ignored
    });
    Run("X := 5");
    EXPECT_EQ(variables.Get("X"), "");
    EXPECT_EQ(variables.Get("RENAMED"), "5");
}

TEST_F(Assignment, AnErrorInTheHandlerFailsTheAssignment) {
    parser.SetOnSubstitute(
        [](TTinyParser&, std::string&, std::string&, int) { throw std::runtime_error("refused"); });
    EXPECT_DOUBLE_EQ(Run("X := 5"), 0);
    EXPECT_EQ(parser.ErrorCode(), 1);
    EXPECT_EQ(variables.Get("X"), "");
}

TEST_F(Assignment, AHandlerThatRecalculatesItsSenderFails) {
    parser.SetOnSubstitute(
        [](TTinyParser& sender, std::string&, std::string&, int) { sender.ResultValue(); });
    Run("X := 5");
    EXPECT_EQ(parser.ErrorCode(), 1);
}

TEST_F(Assignment, ANonNameTargetAssignsNothing) {
    EXPECT_DOUBLE_EQ(Run("3 := 4"), 3);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(variables.Count(), 0);
}

TEST_F(Assignment, AConstantNameAssignsAVariableButReadsTheConstant) {
    Run("PI := 3");
    EXPECT_EQ(variables.Get("PI"), "3");
    EXPECT_DOUBLE_EQ(Run("PI"), 3.141592653589793);
}

TEST(AssignmentWithoutList, NothingIsAssigned) {
    TTinyParser parser;
    bool called = false;
    parser.SetOnSubstitute([&](TTinyParser&, std::string&, std::string&, int) { called = true; });
    parser.SetExpression("X := 5");
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 0);
    EXPECT_FALSE(called);
}

TEST(ElementRead, AnItemThatDoesNotReadFailsTheOperation) {
    TVariableList variables;
    variables.Set("A", "1,abc");
    TTinyParser parser;
    parser.SetVariables(&variables);
    parser.SetExpression("A[1] + 5");
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 5);
    EXPECT_EQ(parser.ErrorCode(), 1);
}

TEST(Reduction, EveryOperatorAloneAndInOddPlacesIsHandled) {
    TTinyParser parser;
    TVariableList variables;
    parser.SetVariables(&variables);
    const TOpeList& table = parser.OperatorTable();
    for (int i = 0; i < table.Count(); ++i) {
        const std::string op = table[i].Text;
        for (const std::string& expression :
             {op, op + " " + op, "1 " + op, op + " 1", "(" + op + ")", "1 " + op + " " + op + " 2",
              "[" + op + "," + op + "]"}) {
            parser.SetExpression(expression);
            EXPECT_NO_THROW(parser.ResultValue()) << expression;
            EXPECT_GE(parser.ErrorCode(), 0);
        }
    }
}

TEST(Reduction, DeepAndLongShapesReduce) {
    TTinyParser parser;
    // 100,000 nested brackets around one value.
    parser.SetExpression(std::string(100000, '(') + "7" + std::string(100000, ')'));
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 7);
    // Unbalanced brackets only.
    parser.SetExpression(std::string(50000, '(') + std::string(50000, ']'));
    EXPECT_NO_THROW(parser.ResultValue());
    // 10,000 commas.
    std::string list = "1";
    for (int i = 0; i < 10000; ++i)
        list += ",1";
    parser.SetExpression(list);
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 1);
    // A long sum keeps left-to-right order.
    std::string sum = "0";
    for (int i = 0; i < 20000; ++i)
        sum += "+1";
    parser.SetExpression(sum);
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 20000);
}

// A literal reference of the reduction: positions in a plain vector, the first closing
// bracket searched from the start every time, the tightest operator searched anew for every
// step. The engine's reduction must agree with it on every expression.
struct RefTerm {
    int kind;
    std::string text;
    double value;
};

class ReferenceReduction {
public:
    explicit ReferenceReduction(std::vector<RefTerm> terms) : t_(std::move(terms)) {}

    double Run() {
        while (t_.size() > 1) {
            int p = 0;
            int q = static_cast<int>(t_.size()) - 1;
            for (int c = 1; c < static_cast<int>(t_.size()); ++c) {
                if (t_[c].text == ")" || t_[c].text == "]") {
                    q = c - 1;
                    Erase(c);
                    break;
                }
            }
            for (int o = q - 1; o >= 0; --o) {
                if (t_[o].text == "(" || t_[o].text == "[") {
                    Erase(o);
                    p = o;
                    --q;
                    break;
                }
            }
            while (q > p) {
                int r = -1;
                for (int i = p; i <= q; ++i) {
                    if (t_[i].kind > 0 && (r < 0 || t_[i].kind > t_[r].kind)) r = i;
                }
                if (r < 0) {
                    while (q > p)
                        Erase(q--);
                    t_[p].value = 0;
                    t_[p].kind = 0;
                } else {
                    Apply(p, q, r);
                }
            }
        }
        return t_.empty() ? 0 : t_[0].value;
    }
    int errorCode = 0;

private:
    void Erase(int i) { t_.erase(t_.begin() + i); }

    static bool Store(long double x, double& out) {
        if (std::isnan(x) || std::fabs(x) >= 0x1p1024L - 0x1p970L) return false;
        out = static_cast<double>(x);
        return true;
    }

    void Apply(int p, int& q, int r) {
        const std::string op = t_[r].text;
        if (r == p || t_[r - 1].kind > 0) {
            if (r >= q) {
                t_[r].kind = 0;
                errorCode = 2;
                return;
            }
            const double a = t_[r + 1].value;
            Erase(r);
            --q;
            t_[r].value = op == "+" ? a : op == "-" ? -a : op == "!" ? (a == 0 ? 1 : 0) : 0;
            t_[r].kind = 0;
            return;
        }
        if (r >= q) {
            t_[r].kind = 0;
            errorCode = 2;
            return;
        }
        const long double a = t_[r - 1].value;
        const long double b = t_[r + 1].value;
        Erase(r + 1);
        Erase(r);
        q -= 2;
        RefTerm& left = t_[r - 1];
        long double x = a;
        bool arithmetic = true;
        if (op == "+") {
            x = a + b;
        } else if (op == "-") {
            x = a - b;
        } else if (op == "*") {
            x = a * b;
        } else if (op == "/") {
            x = b == 0 ? NAN : a / b;
        } else if (op == "^") {
            x = ReferencePower(a, b);
        } else if (op == "<") {
            x = a < b ? 1 : 0;
        } else if (op == ",") {
            x = b;
        } else {
            arithmetic = false;
        }
        if (arithmetic && !Store(x, left.value)) errorCode = 1;
        left.kind = 0;
    }

    static long double ReferencePower(long double a, long double b) {
        if (b == 0) return 1;
        if (a == 0 && b > 0) return 0;
        if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
            if (a == 0) return NAN;
            long double result = 1;
            long double base = a;
            for (auto n = static_cast<uint32_t>(std::fabs(b)); n != 0; n >>= 1) {
                if (n & 1u) result *= base;
                if (n > 1) base *= base;
            }
            return b < 0 ? (result == 0 ? NAN : 1 / result) : result;
        }
        if (a < 0) return NAN;
        return std::exp(b * std::log(a));
    }

    std::vector<RefTerm> t_;
};

TEST(Reduction, AgreesWithALiteralReferenceOnRandomExpressions) {
    static const char* const kTokens[] = {"1", "2", "3", "0.5", "+", "-", "*", "/", "^",
                                          "(", ")", "[", "]",   "!", ",", "<", " "};
    std::mt19937 random(20261208);
    TTinyParser parser;
    for (int round = 0; round < 20000; ++round) {
        std::string expression;
        const int length = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) {
            expression += kTokens[random() % std::size(kTokens)];
            expression += ' ';
        }
        parser.SetExpression(expression);
        parser.Tokenize();
        std::vector<RefTerm> terms;
        for (const TTerm& term : parser.Terms().Items()) {
            terms.push_back({term.Kind, term.Text, term.Value});
        }
        ReferenceReduction reference(terms);
        const double expected = reference.Run();
        parser.Evaluate();
        const double actual = parser.Terms().Count() == 0 ? 0 : parser.Terms()[0].Value;
        ASSERT_EQ(actual, expected) << expression;
        ASSERT_EQ(parser.ErrorCode(), reference.errorCode) << expression;
    }
}

}  // namespace
