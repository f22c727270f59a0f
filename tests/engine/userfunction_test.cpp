// User-defined functions: how definitions are stored, how calls bind their arguments, and
// that runaway recursion and call explosions end as a failure the host sees.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;
using namespace tallyon::test;

namespace {

class UserFunction : public ::testing::Test {
protected:
    UserFunction() {
        parser.SetVariables(&variables);
        parser.SetOnSubstitute(
            [this](TTinyParser&, std::string&, std::string&, int) { ++notifications; });
    }
    double Run(const std::string& expression) {
        parser.SetExpression(expression);
        return parser.ResultValue();
    }

    TVariableList variables;
    TTinyParser parser;
    int notifications = 0;
};

struct DefinitionCase {
    const char* behaviour;
    const char* definition;
    const char* header;
    const char* body;
};

void PrintTo(const DefinitionCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.definition));
}

const DefinitionCase kDefinitions[] = {
    {"body rebuilt without blanks", "F(X) := X * 2", "F(X)", "X*2"},
    {"parameters separated by commas", "g(a, b) := a - b", "G(A,B)", "A-B"},
    {"constants stay names", "AREA(R) := PI*R^2", "AREA(R)", "PI*R^2"},
    {"numbers are written as values", "H(X) := X + 1K", "H(X)", "X+1000"},
    {"variables are frozen", "H(X) := X*K", "H(X)", "X*3"},
    {"negative frozen values are bracketed", "N(X) := X*M", "N(X)", "X*(-3)"},
    {"parameters win over variables of the same name", "P(K) := K+1", "P(K)", "K+1"},
    {"names without value stay names", "U(X) := X + Z", "U(X)", "X+Z"},
    {"implied products are written out", "Q(X) := 2 X", "Q(X)", "2*X"},
    {"arrays and calls keep their names", "C(I) := A[I] + F(I)", "C(I)", "A[I]+F(I)"},
    {"assignments inside the body", "S(X) := Y := X", "S(X)", "Y:=X"},
};

class Definitions : public UserFunction, public ::testing::WithParamInterface<DefinitionCase> {};

TEST_P(Definitions, AreStoredAsALine) {
    variables.Set("K", "3");
    variables.Set("M", "-3");
    const DefinitionCase& row = GetParam();
    EXPECT_DOUBLE_EQ(Run(row.definition), 0) << row.behaviour;
    EXPECT_EQ(parser.ResultText(), "0");
    EXPECT_EQ(variables.Get(row.header), row.body) << row.behaviour;
    EXPECT_EQ(notifications, 0) << "definitions are not notified";
}

INSTANTIATE_TEST_SUITE_P(UserFunction, Definitions, ::testing::ValuesIn(kDefinitions),
                         BehaviourName);

struct CallCase {
    const char* behaviour;
    const char* expression;
    double value;
    TErrorCode errorCode;
};

void PrintTo(const CallCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.expression));
}

// Calls against a fixed set of definitions.
class Calls : public UserFunction, public ::testing::WithParamInterface<CallCase> {};

TEST_P(Calls, Evaluate) {
    variables.Set("A", "1,2,3");
    variables.Set("Z", "5");
    variables.Set("F(X)", "X*2");
    variables.Set("G(A,B)", "A-B");
    variables.Set("AREA(R)", "PI*R^2");
    variables.Set("U(X)", "X+Z");
    variables.Set("E(I)", "A[I]");
    variables.Set("D(X)", "1/X");
    variables.Set("TWICE(X)", "F(F(X))");
    variables.AddLine("BAD(X)");
    variables.AddLine("f(x)=x*3");
    const CallCase& row = GetParam();
    EXPECT_DOUBLE_EQ(Run(row.expression), row.value) << row.behaviour;
    EXPECT_EQ(parser.ErrorCode(), row.errorCode) << row.behaviour;
}

const CallCase kCalls[] = {
    {"one argument", "F(21)", 42, kOk},
    {"two arguments in order", "G(10, 3)", 7, kOk},
    {"a missing argument is 0", "G(10)", 10, kOk},
    {"surplus arguments are ignored", "G(10, 3, 99)", 7, kOk},
    {"empty brackets pass 0", "G()", 0, kOk},
    {"constants are bound at call time", "AREA(2)", 12.566370614359172, kOk},
    {"other names in the body are 0", "U(1)", 1, kOk},
    {"arrays are read at call time", "E(2)", 3, kOk},
    {"functions call functions", "TWICE(3)", 12, kOk},
    {"calls in arithmetic", "F(1) + G(5, 2) * 2", 8, kOk},
    {"arguments are evaluated first", "F(1+2*3)", 14, kOk},
    {"a failure inside the body stays there", "D(0)", 1, kOk},
    {"an unknown function fails", "NOSUCH(1)", 0, kFailed},
    {"a line without definition shape fails", "BAD(1)", 0, kFailed},
    {"the function name compares exactly", "f(1)", 2, kOk},
    {"no star before a call: the stretch collapses", "2 F(3)", 0, kOk},
};

INSTANTIATE_TEST_SUITE_P(UserFunction, Calls, ::testing::ValuesIn(kCalls), BehaviourName);

TEST_F(UserFunction, AnEmptyBodyRemovesTheDefinition) {
    Run("F(X) := X*2");
    EXPECT_EQ(variables.Get("F(X)"), "X*2");
    Run("F(X) :=");
    EXPECT_EQ(variables.Get("F(X)"), "");
}

TEST_F(UserFunction, FrozenVariablesDoNotFollowLaterChanges) {
    variables.Set("K", "3");
    Run("H(X) := X*K");
    variables.Set("K", "100");
    EXPECT_DOUBLE_EQ(Run("H(2)"), 6);
    variables.Set("M", "-3");
    Run("N(X) := X*M");
    EXPECT_DOUBLE_EQ(Run("N(2)"), -6);
}

TEST_F(UserFunction, AssignmentsInTheBodyWriteTheListSilently) {
    Run("S(X) := Y := X");
    EXPECT_DOUBLE_EQ(Run("S(5)"), 5);
    EXPECT_EQ(variables.Get("Y"), "5");
    EXPECT_EQ(notifications, 0);
}

TEST_F(UserFunction, WithoutAListACallFails) {
    parser.SetVariables(nullptr);
    EXPECT_DOUBLE_EQ(Run("F(1)"), 0);
    EXPECT_EQ(parser.ErrorCode(), kFailed);
}

struct RunawayCase {
    const char* behaviour;
    const char* definitions[3];
    const char* call;
};

void PrintTo(const RunawayCase& row, std::ostream* out) {
    *out << testing::PrintToString(std::string(row.call));
}

const RunawayCase kRunaways[] = {
    {"direct recursion", {"R(X) := R(X-1) + 1"}, "R(1)"},
    {"recursion through IF never stops", {"FACT(N) := IF(N, N*FACT(N-1), 1)"}, "FACT(5)"},
    {"mutual recursion", {"PING(X) := PONG(X)", "PONG(X) := PING(X)"}, "PING(1)"},
    {"branching recursion", {"B(X) := B(X) + B(X) + B(X)"}, "B(1)"},
};

class Runaway : public UserFunction, public ::testing::WithParamInterface<RunawayCase> {};

TEST_P(Runaway, FailsOnTheHostsComponent) {
    for (const char* definition : GetParam().definitions) {
        if (definition != nullptr) Run(definition);
    }
    EXPECT_DOUBLE_EQ(Run(GetParam().call), 0) << GetParam().behaviour;
    EXPECT_EQ(parser.ErrorCode(), kFailed) << GetParam().behaviour;
    // The bound is per call chain: a sound call in the same line still works.
    Run("OK(X) := X + 1");
    EXPECT_DOUBLE_EQ(Run(std::string(GetParam().call) + " + OK(41)"), 42);
    EXPECT_EQ(parser.ErrorCode(), kFailed);
    EXPECT_DOUBLE_EQ(Run("OK(41)"), 42);
    EXPECT_EQ(parser.ErrorCode(), kOk);
}

INSTANTIATE_TEST_SUITE_P(UserFunction, Runaway, ::testing::ValuesIn(kRunaways), BehaviourName);

TEST_F(UserFunction, ACallExplosionEndsAsAFailure) {
    // Each level calls the one below twice: 2^40 calls if nothing bounded the work.
    Run("L0(X) := X + 1");
    for (int level = 1; level <= 40; ++level) {
        const std::string below = "L" + std::to_string(level - 1) + "(X)";
        Run("L" + std::to_string(level) + "(X) := " + below + " + " + below);
    }
    EXPECT_DOUBLE_EQ(Run("L3(1)"), 16);
    EXPECT_EQ(parser.ErrorCode(), kOk);
    Run("L40(1)");
    EXPECT_EQ(parser.ErrorCode(), kFailed);
}

TEST_F(UserFunction, CallsNestUpToTheDepthBound) {
    // A chain of distinct functions exactly as deep as the bound still runs.
    const int depth = TTinyParser::kMaxCallDepth;
    Run("C" + std::to_string(depth) + "(X) := X");
    for (int level = depth - 1; level >= 1; --level) {
        Run("C" + std::to_string(level) + "(X) := C" + std::to_string(level + 1) + "(X+1)");
    }
    EXPECT_DOUBLE_EQ(Run("C1(0)"), depth - 1);
    EXPECT_EQ(parser.ErrorCode(), kOk);
    Run("C0(X) := C1(X)");
    EXPECT_DOUBLE_EQ(Run("C0(0)"), 0);
    EXPECT_EQ(parser.ErrorCode(), kFailed);
}

struct LoweredBoundCase {
    const char* behaviour;
    int depth;
    long budget;
    const char* call;
    bool fails;
};

void PrintTo(const LoweredBoundCase& row, std::ostream* out) {
    *out << row.behaviour;
}

// Lowered bounds, as the fuzzer sets them: each bound alone ends the runaway it is meant to.
const LoweredBoundCase kLoweredBounds[] = {
    {"a chain as deep as the lowered depth runs", 4, TTinyParser::kCallBudget, "C1(0)", false},
    {"a chain deeper than the lowered depth fails", 3, TTinyParser::kCallBudget, "C1(0)", true},
    {"a doubling chain within the default budget runs", TTinyParser::kMaxCallDepth,
     TTinyParser::kCallBudget, "D1(1)", false},
    {"the same chain beyond a lowered budget fails", TTinyParser::kMaxCallDepth,
     20 * TTinyParser::kCallCost, "D1(1)", true},
};

class LoweredBounds : public UserFunction,
                      public ::testing::WithParamInterface<LoweredBoundCase> {};

TEST_P(LoweredBounds, EndRunawayCallsEarly) {
    const LoweredBoundCase& row = GetParam();
    Run("C4(X) := X");
    Run("C3(X) := C4(X+1)");
    Run("C2(X) := C3(X+1)");
    Run("C1(X) := C2(X+1)");
    // 2 + 4 + 8 + 16 + 32 calls, never deeper than 5.
    Run("D5(X) := X");
    for (int level = 4; level >= 1; --level) {
        const std::string next = "D" + std::to_string(level + 1) + "(X)";
        Run("D" + std::to_string(level) + "(X) := " + next + "+" + next);
    }
    parser.SetCallBounds(row.depth, row.budget);
    const double result = Run(row.call);
    EXPECT_EQ(parser.ErrorCode(), row.fails ? kFailed : kOk);
    if (!row.fails) {
        EXPECT_GT(result, 0);
    }
    // The bounds hold for every later calculation, not only the first.
    Run("1+1");
    Run(row.call);
    EXPECT_EQ(parser.ErrorCode(), row.fails ? kFailed : kOk);
}

INSTANTIATE_TEST_SUITE_P(Rows, LoweredBounds, ::testing::ValuesIn(kLoweredBounds));

}  // namespace
