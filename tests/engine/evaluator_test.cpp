// Evaluator: reduction order, bracket handling, every operator with its faults, arrays and
// assignment with its notification.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;
using namespace tallyon::test;

namespace {

struct ValueCase {
    const char* behaviour;
    const char* expression;
    double value;
    TErrorCode errorCode;
};

void PrintTo(const ValueCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.expression));
}

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
    {"multiplication before addition", "1+2*3", 7, kOk},
    {"brackets first", "(1+2)*3", 9, kOk},
    {"power is left associative", "2^3^2", 64, kOk},
    {"division is left associative", "8/2/2", 2, kOk},
    {"power before multiplication", "2*3^2", 18, kOk},
    {"power binds before prefix minus", "-2^2", -4, kOk},
    {"a missing closing bracket closes at the end", "(1+2", 3, kOk},
    {"a missing opening bracket opens at the start", "1+2)", 3, kOk},
    {"round and square brackets pair freely", "(1+2]", 3, kOk},
    {"nested brackets", "((2+3)*(4-1))^2", 225, kOk},
    {"an empty pair is 0", "()", 0, kOk},
    {"an infix operator without right operand", "3*", 0, kMissing},
    {"an infix operator without left operand is a prefix giving 0", "*3", 0, kOk},
    {"a function without operand", "1+SQRT", 1, kMissing},
    {"a lone term is never reduced", "SQRT", 0, kOk},
    {"a prefix minus at the end of its stretch", "(1-)", 0, kMissing},
    {"an operator as operand counts 0", "2*-3", 0, kOk},
    {"a closing bracket first is never paired", ")1+2", 0, kOk},
    {"assignment binds loosest", "X := 1 + 2", 3, kOk},
    {"a comma list yields its last value", "1, 2, 3", 3, kOk},
    {"the last failure's code stays", "(1/0) + 3*", 0, kMissing},
    {"a later fault replaces a missing operand", "(3*) + 1/0", 1, kFailed},
};
INSTANTIATE_TEST_SUITE_P(Reduction, ValueTable, ::testing::ValuesIn(kReductionCases),
                         BehaviourName);

const ValueCase kOperatorCases[] = {
    {"division by zero fails", "1/0", 1, kFailed},
    {"zero by zero fails", "0/0", 0, kFailed},
    {"integer quotient truncates", "7 % 2", 3, kOk},
    {"integer quotient truncates toward zero", "(-7) % 2", -3, kOk},
    {"integer quotient by zero fails", "7 % 0", 7, kFailed},
    {"remainder of truncated operands", "7.9 # 2.5", 1, kOk},
    {"remainder takes the dividend's sign", "(-7) # 3", -1, kOk},
    {"remainder by zero fails", "7 # 0", 7, kFailed},
    {"remainder beyond 64 bits fails", "1E19 # 2", 1e19, kFailed},
    {"remainder of the lowest integer by -1", "(-9223372036854775808) # (-1)", 0, kOk},
    {"square root by power", "2 ^ 0.5", 1.4142135623730951, kOk},
    {"zero to the zero", "0 ^ 0", 1, kOk},
    {"negative base, whole exponent", "(-8) ^ 3", -512, kOk},
    {"negative base, fractional exponent fails", "(-8) ^ (1/3)", -8, kFailed},
    {"negative whole exponent", "2 ^ (-2)", 0.25, kOk},
    {"zero to a negative power fails", "0 ^ (-1)", 0, kFailed},
    {"power overflow fails", "10 ^ 400", 10, kFailed},
    {"power underflow is zero", "10 ^ (-400)", 0, kOk},
    {"huge whole exponent", "1 ^ 2147483647", 1, kOk},
    {"exponent beyond 32 bits uses logarithms", "4 ^ 4294967296.5", 4, kFailed},
    {"multiplication overflow fails", "1E308 * 10", 1e308, kFailed},
    {"a sum that rounds down to the largest double is stored", "1.7976931348623157E308 + 5E291",
     1.7976931348623157e308, kOk},
    {"a sum that rounds up to infinity fails", "1.7976931348623157E308 + 1E292",
     1.7976931348623157e308, kFailed},
    // The largest double is 2^1024 - 2^971; halfway to 2^1024 a result rounds to infinity. The
    // sums below are exact in extended precision, one step of it on either side of halfway.
    {"just below halfway past the largest double is stored", "1.7976931348623157E308 + 1023*2^960",
     1.7976931348623157e308, kOk},
    {"halfway past the largest double fails", "1.7976931348623157E308 + 2^970",
     1.7976931348623157e308, kFailed},
    {"halfway past the most negative double fails", "-1.7976931348623157E308 - 2^970",
     -1.7976931348623157e308, kFailed},
    {"parallel resistances", "100 // 100", 50, kOk},
    {"parallel of opposite values fails", "1 // (-1)", 1, kFailed},
    {"inverse parallel", "50 \\\\ 100", 100, kOk},
    {"inverse parallel of equal values fails", "100 \\\\ 100", 100, kFailed},
    {"or with left zero", "0 | 5", 1, kOk},
    {"or with right zero", "5 | 0", 1, kOk},
    {"or of zeros", "0 | 0", 0, kOk},
    {"and with zero", "2 & 0", 0, kOk},
    {"and of non-zeros", "2 & 3", 1, kOk},
    {"and multiplies in extended precision", "1E-200 & 1E-200", 1, kOk},
    {"not of zero", "!0", 1, kOk},
    {"not of non-zero", "!7", 0, kOk},
    {"equal", "1 == 1", 1, kOk},
    {"not equal", "1 != 1", 0, kOk},
    {"greater or equal", "2 >= 3", 0, kOk},
    {"less", "2 < 3", 1, kOk},
    {"magnitude greater", "-5 >> 3", 1, kOk},
    {"magnitude greater or equal", "-3 >>= 3", 1, kOk},
    {"magnitude less", "3 << -5", 1, kOk},
    {"magnitude less or equal", "4 <<= -3", 0, kOk},
    {"an operator without infix meaning keeps the left value", "3 ! 2", 3, kOk},
    {"square root of a negative fails", "SQRT(-1)", 0, kFailed},
};
INSTANTIATE_TEST_SUITE_P(Operators, ValueTable, ::testing::ValuesIn(kOperatorCases), BehaviourName);

const ValueCase kArgumentListCases[] = {
    {"a function sees the whole list", "SUM(1, 2, 3)", 6, kOk},
    {"square brackets group like round ones", "SUM[1, 2, 3]", 6, kOk},
    {"a single argument", "SUM(5)", 5, kOk},
    {"order of the list is kept", "MAX(3, 9, 2) - MIN(3, 9, 2)", 7, kOk},
    {"a one-argument function uses the last value", "SQRT(9, 16)", 4, kOk},
    {"conditional with three arguments", "IF(0, 10, 20)", 20, kOk},
    {"conditional with two arguments is 0", "IF(1, 10)", 0, kOk},
    {"lists of neighbouring calls stay apart", "SUM(1, 2) + SUM(3, 4)", 10, kOk},
    {"a bracketed list keeps its arguments", "SUM((1, 2), 3)", 6, kOk},
    {"elements as arguments", "SUM(A[0], A[1], A[2])", 6, kOk},
    {"an element index is the last value of its list", "A[0, 2]", 3, kOk},
};
INSTANTIATE_TEST_SUITE_P(ArgumentLists, ValueTable, ::testing::ValuesIn(kArgumentListCases),
                         BehaviourName);

const ValueCase kArrayCases[] = {
    {"first element", "A[0]", 1, kOk},
    {"last element", "A[2]", 3, kOk},
    {"index past the end reads 0", "A[3]", 0, kOk},
    {"negative index reads 0", "A[-1]", 0, kOk},
    {"index is truncated", "A[1.9]", 2, kOk},
    {"an array alone is its first element", "A", 1, kOk},
    {"elements in arithmetic", "A[1] * A[2] + A", 7, kOk},
    {"an element of an unknown array is 0", "B[0]", 0, kOk},
    {"a huge index reads 0", "A[1E300]", 0, kOk},
};
INSTANTIATE_TEST_SUITE_P(Arrays, ValueTable, ::testing::ValuesIn(kArrayCases), BehaviourName);

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
    EXPECT_EQ(parser.ErrorCode(), kOk);
    EXPECT_EQ(variables.Get("A"), "1,2,3");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].idx, 100);
}

TEST_F(Assignment, NegativeElementIndexFails) {
    variables.Set("A", "1,2,3");
    Run("A[-1] := 9");
    EXPECT_EQ(parser.ErrorCode(), kFailed);
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
    EXPECT_EQ(parser.ErrorCode(), kFailed);
    EXPECT_EQ(variables.Get("X"), "");
}

TEST_F(Assignment, AHandlerThatRecalculatesItsSenderFails) {
    parser.SetOnSubstitute(
        [](TTinyParser& sender, std::string&, std::string&, int) { sender.ResultValue(); });
    Run("X := 5");
    EXPECT_EQ(parser.ErrorCode(), kFailed);
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
    EXPECT_EQ(parser.ErrorCode(), kFailed);
}

// Every entry of the operator table in odd places: nothing raises and every value is finite;
// an operator alone in its stretch is never applied, and one with nothing after it reports
// the missing operand.
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
            double value = 0;
            EXPECT_NO_THROW(value = parser.ResultValue()) << expression;
            EXPECT_TRUE(std::isfinite(value)) << expression;
        }
        if (op == "(" || op == ")" || op == "[" || op == "]") continue;
        for (const std::string& alone : {op, "(" + op + ")"}) {
            parser.SetExpression(alone);
            EXPECT_EQ(parser.ResultValue(), 0) << alone;
            EXPECT_EQ(parser.ErrorCode(), kOk) << alone;
        }
        parser.SetExpression("1 " + op);
        parser.ResultValue();
        EXPECT_EQ(parser.ErrorCode(), kMissing) << "1 " << op;
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
    TErrorCode errorCode = kOk;

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
                errorCode = kMissing;
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
            errorCode = kMissing;
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
        if (arithmetic && !Store(x, left.value)) errorCode = kFailed;
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
