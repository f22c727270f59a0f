// Parser component: the calculation cycle, binding of names, errors raised to the host, and
// when a result is calculated again.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;
using namespace tallyon::test;

namespace {

class Component : public ::testing::Test {
protected:
    Component() { parser.SetVariables(&variables); }
    double Run(const std::string& expression) {
        parser.SetExpression(expression);
        return parser.ResultValue();
    }

    TVariableList variables;
    TTinyParser parser;
};

TEST_F(Component, EmptyExpressionHasNoResultText) {
    EXPECT_DOUBLE_EQ(Run(""), 0);
    EXPECT_EQ(parser.ResultText(), "");
    EXPECT_EQ(parser.ErrorCode(), kOk);
}

TEST_F(Component, ResultTextIsTheGeneralNumberText) {
    Run("1+2");
    EXPECT_EQ(parser.ResultText(), "3");
    Run("1/3");
    EXPECT_EQ(parser.ResultText(), "0.333333333333333");
}

TEST_F(Component, AResultIsCalculatedOnceUntilTheExpressionIsSetAgain) {
    parser.SetExpression("_RND");
    const double first = parser.ResultValue();
    EXPECT_EQ(parser.ResultValue(), first);
    // Setting the same text again calculates again and draws a new number.
    bool changed = false;
    for (int i = 0; i < 10 && !changed; ++i) {
        parser.SetExpression("_RND");
        changed = parser.ResultValue() != first;
    }
    EXPECT_TRUE(changed);
}

TEST_F(Component, NameBinding) {
    variables.Set("X", "1,2,3");
    variables.Set("K", "4.7K");
    EXPECT_DOUBLE_EQ(Run("X"), 1) << "an array alone is its first element";
    EXPECT_DOUBLE_EQ(Run("K"), 4700) << "variable values read with suffixes";
    EXPECT_DOUBLE_EQ(Run("FOO + 1"), 1) << "a name with no value counts 0";
    EXPECT_EQ(parser.ErrorCode(), kOk);
    EXPECT_DOUBLE_EQ(Run("x + k"), 4701) << "names are folded to upper case";
    EXPECT_DOUBLE_EQ(Run("TRUE + TRUE"), 2) << "constants";
}

TEST_F(Component, ATargetOfAssignmentIsNotBound) {
    variables.Set("X", "1");
    EXPECT_DOUBLE_EQ(Run("X := X + 1"), 2);
    EXPECT_EQ(variables.Get("X"), "2");
}

TEST_F(Component, ReportedFailures) {
    Run("1/0");
    EXPECT_EQ(parser.ErrorCode(), kFailed);
    Run("3*");
    EXPECT_EQ(parser.ErrorCode(), kMissing);
    Run("1+1");
    EXPECT_EQ(parser.ErrorCode(), kOk) << "reset by the next calculation";
}

TEST_F(Component, ANumberTextThatDoesNotReadIsRaisedOnEveryRead) {
    parser.SetExpression("2X");
    for (int read = 0; read < 2; ++read) {
        try {
            parser.ResultText();
            FAIL() << "no conversion error";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "'2X' is not a valid floating point value");
        }
    }
    EXPECT_THROW(parser.ResultValue(), EConvertError);
}

TEST_F(Component, AVariableThatDoesNotReadIsRaised) {
    variables.Set("X", "abc");
    parser.SetExpression("X + 1");
    try {
        parser.ResultValue();
        FAIL() << "no conversion error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "RuvoStrToFloat: Not a number.");
    }
}

TEST_F(Component, ANumberBeyondTheDoubleRangeIsRaised) {
    parser.SetExpression("1E400 + 1");
    EXPECT_THROW(parser.ResultValue(), EMathError);
    variables.Set("BIG", "1E400");
    parser.SetExpression("BIG");
    EXPECT_THROW(parser.ResultValue(), EMathError);
}

TEST_F(Component, AfterARaiseTheComponentWorksAgain) {
    parser.SetExpression("2X");
    EXPECT_ANY_THROW(parser.ResultValue());
    EXPECT_DOUBLE_EQ(Run("6*7"), 42);
    EXPECT_EQ(parser.ResultText(), "42");
}

TEST_F(Component, TheListCanBeUnlinked) {
    EXPECT_EQ(parser.Variables(), &variables);
    parser.SetVariables(nullptr);
    EXPECT_EQ(parser.Variables(), nullptr);
    EXPECT_DOUBLE_EQ(Run("X := 5"), 0);
    EXPECT_EQ(variables.Count(), 0);
}

TEST(ComponentStages, StagesCanBeRunOneByOne) {
    TTinyParser parser;
    parser.SetExpression("1 + PI");
    parser.Tokenize();
    EXPECT_EQ(parser.Terms().Count(), 3);
    parser.BindNames(false, false);
    EXPECT_EQ(parser.Terms()[2].Kind, kKindUnbound);
    parser.BindNames(true, false);
    EXPECT_EQ(parser.Terms()[2].Kind, kKindOperand);
    parser.Evaluate();
    EXPECT_EQ(parser.Terms().Count(), 1);
    EXPECT_DOUBLE_EQ(parser.ResultValue(), 1 + 3.141592653589793);
}

}  // namespace
