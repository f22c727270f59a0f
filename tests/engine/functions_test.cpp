// Built-in functions and constants: values, special ranges, domain failures, argument lists.
#include "engine/Functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/MathFault.h"
#include "engine/RuvoSub.h"
#include "engine/VariableList.h"

using namespace tallyon;

namespace {

// Calls a function the way the evaluator does: the last argument is x, the others Args.
double Call(std::string_view name, std::initializer_list<double> arguments,
            const TVariableList* variables = nullptr) {
    const int index = FindBuiltinFunction(name);
    if (index < 0) throw std::invalid_argument(std::string(name));
    const std::vector<double> all(arguments);
    const std::span<const double> args(all.data(), all.size() - 1);
    return ApplyBuiltinFunction(index, all.back(), args, variables);
}

constexpr auto RowName = [](const auto& info) { return std::string(info.param.row); };

struct ValueCase {
    const char* row;
    const char* function;
    std::vector<double> arguments;
    double expected;
    double tolerance;  // 0: exactly this double
};

class FunctionValue : public testing::TestWithParam<ValueCase> {};

TEST_P(FunctionValue, Computes) {
    const ValueCase& c = GetParam();
    const int index = FindBuiltinFunction(c.function);
    ASSERT_GE(index, 0) << c.function;
    const std::span<const double> args(c.arguments.data(), c.arguments.size() - 1);
    const double result = ApplyBuiltinFunction(index, c.arguments.back(), args, nullptr);
    if (c.tolerance == 0) {
        EXPECT_EQ(result, c.expected);
    } else {
        EXPECT_NEAR(result, c.expected, c.tolerance);
    }
}

const double kPiD = 3.141592653589793;

INSTANTIATE_TEST_SUITE_P(
    Rounding, FunctionValue,
    testing::Values(
        ValueCase{"TruncTowardZero", "TRUNC", {-2.7}, -2, 0},
        ValueCase{
            "TruncLargestBelowTwoTo63", "TRUNC", {9223372036854774784.0}, 9223372036854774784.0, 0},
        ValueCase{"CeilOfNegative", "CEIL", {-2.7}, -2, 0},
        ValueCase{"CeilBeyond32Bits", "CEIL", {3000000000.5}, 3000000001, 0},
        ValueCase{"FloorOfNegative", "FLOOR", {-2.7}, -3, 0},
        ValueCase{"FracOfPositive", "FRAC", {2.75}, 0.75, 0},
        ValueCase{"FracKeepsSign", "FRAC", {-1.5}, -0.5, 0},
        ValueCase{"RoundHalfToEvenDown", "ROUND", {0.5}, 0, 0},
        ValueCase{"RoundHalfToEvenUp", "ROUND", {1.5}, 2, 0},
        ValueCase{"RoundTwoAndAHalf", "ROUND", {2.5}, 2, 0},
        ValueCase{"RoundThreeAndAHalf", "ROUND", {3.5}, 4, 0},
        ValueCase{"RoundNegativeHalf", "ROUND", {-2.5}, -2, 0},
        ValueCase{"RoundNearest", "ROUND", {-2.6}, -3, 0},
        ValueCase{"Abs", "ABS", {-3.25}, 3.25, 0}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Elementary, FunctionValue,
    testing::Values(ValueCase{"Exp", "EXP", {1}, 2.718281828459045, 0},
                    ValueCase{"NaturalLog", "LN", {2.718281828459045}, 1, 1e-15},
                    ValueCase{"CommonLog", "LOG", {1000}, 3, 0},
                    ValueCase{"SquareRoot", "SQRT", {2}, 1.4142135623730951, 0},
                    ValueCase{"SineOfHalfPi", "SIN", {kPiD / 2}, 1, 0},
                    ValueCase{"SineGivesUpFromTwoTo63", "SIN", {1e19}, 0, 0},
                    ValueCase{"CosineGivesUpFromTwoTo63", "COS", {-1e19}, 0, 0},
                    ValueCase{"Cosine", "COS", {kPiD}, -1, 0},
                    ValueCase{"Tangent", "TAN", {kPiD / 4}, 1, 1e-15},
                    ValueCase{"HyperbolicSine", "SINH", {1}, 1.1752011936438014, 1e-15},
                    ValueCase{"HyperbolicSineOfTinyIsExact", "SINH", {1e-10}, 1e-10, 1e-25},
                    ValueCase{"HyperbolicCosine", "COSH", {1}, 1.5430806348152437, 1e-15},
                    ValueCase{"HyperbolicTangent", "TANH", {0.5}, 0.46211715726000974, 1e-16},
                    ValueCase{"TanhSaturatesHigh", "TANH", {6000}, 1, 0},
                    ValueCase{"TanhSaturatesLow", "TANH", {-6000}, -1, 0},
                    ValueCase{"ArcSine", "ARCSIN", {0.5}, 0.5235987755982989, 1e-16},
                    ValueCase{"ArcSineOfOne", "ARCSIN", {1}, kPiD / 2, 0},
                    ValueCase{"ArcCosine", "ARCCOS", {-1}, kPiD, 0},
                    ValueCase{"ArcTangent", "ARCTAN", {1}, 0.7853981633974483, 0},
                    ValueCase{"ArcSinhOfZero", "ARCSINH", {0}, 0, 0},
                    ValueCase{"ArcSinh", "ARCSINH", {1}, 0.881373587019543, 1e-15},
                    ValueCase{
                        "ArcSinhLargeUsesLog", "ARCSINH", {-1e11}, -26.021583203494448, 1e-13},
                    ValueCase{"ArcCoshBelowOneIsZero", "ARCCOSH", {0.5}, 0, 0},
                    ValueCase{"ArcCoshOfMinusHundredIsZero", "ARCCOSH", {-100}, 0, 0},
                    ValueCase{"ArcCosh", "ARCCOSH", {2}, 1.3169578969248166, 1e-15},
                    ValueCase{"ArcCoshLargeUsesLog", "ARCCOSH", {1e11}, 26.021583203494448, 1e-13},
                    ValueCase{"ArcTanhOfZero", "ARCTANH", {0}, 0, 0},
                    ValueCase{"ArcTanh", "ARCTANH", {0.5}, 0.5493061443340549, 1e-16},
                    ValueCase{"ArcTanhNegative", "ARCTANH", {-0.5}, -0.5493061443340549, 1e-16}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Degrees, FunctionValue,
    testing::Values(
        ValueCase{"SineOfThirty", "SIND", {30}, 0.5, 1e-16},
        ValueCase{"CosineOfSixty", "COSD", {60}, 0.5, 1e-15},
        ValueCase{"TangentOfFortyFive", "TAND", {45}, 1, 1e-15},
        ValueCase{"HyperbolicSineTakesDegrees", "SINHD", {1}, std::sinh(0.017453292519943295), 0},
        ValueCase{"HyperbolicCosineTakesDegrees", "COSHD", {180}, 11.591953275521519, 1e-14},
        ValueCase{"HyperbolicTangentTakesDegrees", "TANHD", {45}, 0.6557942026326724, 1e-15},
        ValueCase{"ArcSineInDegrees", "ARCSIND", {1}, 90, 0},
        ValueCase{"ArcCosineInDegrees", "ARCCOSD", {0.5}, 60, 1e-13},
        ValueCase{"ArcTangentInDegrees", "ARCTAND", {1}, 45, 0},
        ValueCase{"ArcSinhResultInDegrees", "ARCSINHD", {1}, 50.498986710526, 1e-11},
        ValueCase{"ArcCoshResultInDegrees", "ARCCOSHD", {2}, 75.45612929021689, 1e-12},
        ValueCase{"ArcCoshDegreesBelowOneIsZero", "ARCCOSHD", {0}, 0, 0},
        ValueCase{"ArcTanhResultInDegrees", "ARCTANHD", {0.5}, 31.472923730945386, 1e-12},
        ValueCase{"RadiansToDegrees", "RADTODEG", {kPiD}, 180, 0},
        ValueCase{"DegreesToRadians", "DEGTORAD", {180}, kPiD, 0}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Electronics, FunctionValue,
    testing::Values(
        ValueCase{"CapacitorReactance", "CAP", {1e-6, 1000}, -159.15494309189535, 1e-13},
        ValueCase{"InductorReactance", "IND", {0.001, 1000}, 6.283185307179586, 0},
        ValueCase{"InductorOfReactance", "AIND", {6.283185307179586, 1000}, 0.001, 1e-18},
        ValueCase{"CapacitorOfReactance", "ACAP", {-159.15494309189535, 1000}, 1e-6, 1e-20},
        ValueCase{"FurtherArgumentsIgnored", "IND", {99, 0.001, 1000}, 6.283185307179586, 0},
        ValueCase{"InductorAtZeroFrequencyIsZero", "IND", {0.001, 0}, 0, 0},
        ValueCase{"PowerRatioToDecibels", "DB", {100}, 20, 0},
        ValueCase{"VoltageRatioToDecibels", "DB2", {100}, 40, 0},
        ValueCase{"DecibelsToPowerRatio", "ADB", {20}, 100, 0},
        ValueCase{"DecibelsToVoltageRatio", "ADB2", {40}, 100, 0},
        ValueCase{"NegativeDecibels", "ADB", {-30}, 0.001, 1e-18}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Lists, FunctionValue,
    testing::Values(
        ValueCase{"Sum", "SUM", {1, 2, 3}, 6, 0}, ValueCase{"SumOfOne", "SUM", {5}, 5, 0},
        // From the last argument, each partial sum a double: 1E16 + 1 rounds back to 1E16.
        ValueCase{"SumStartsFromTheLast", "SUM", {1, 1, 1e16}, 1e16, 0},
        ValueCase{"SumRoundsEachPartialSum", "SUM", {1e16, 1, 1}, 1e16, 0},
        ValueCase{"Mean", "MEAN", {1, 2, 3, 4}, 2.5, 0}, ValueCase{"Max", "MAX", {3, 9, 2}, 9, 0},
        ValueCase{"Min", "MIN", {3, 9, 2}, 2, 0}, ValueCase{"MaxOfOne", "MAX", {-4}, -4, 0},
        ValueCase{"IfTrue", "IF", {1, 10, 20}, 10, 0},
        ValueCase{"IfFalse", "IF", {0, 10, 20}, 20, 0},
        ValueCase{"IfAnyNonZeroIsTrue", "IF", {-0.5, 10, 20}, 10, 0},
        ValueCase{"IfWithTwoArgumentsIsZero", "IF", {1, 10}, 0, 0},
        ValueCase{"IfWithFourArgumentsIsZero", "IF", {1, 1, 10, 20}, 0, 0},
        ValueCase{"OneArgumentFunctionUsesTheLast", "SIN", {1, 2}, std::sin(2.0L), 1e-16}),
    RowName);

struct FailureCase {
    const char* row;
    const char* function;
    std::vector<double> arguments;
};

class FunctionFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(FunctionFailure, RaisesAMathError) {
    const FailureCase& c = GetParam();
    const int index = FindBuiltinFunction(c.function);
    ASSERT_GE(index, 0) << c.function;
    const std::span<const double> args(c.arguments.data(), c.arguments.size() - 1);
    EXPECT_THROW(ApplyBuiltinFunction(index, c.arguments.back(), args, nullptr), EMathError);
}

INSTANTIATE_TEST_SUITE_P(
    Domain, FunctionFailure,
    testing::Values(FailureCase{"LnOfZero", "LN", {0}}, FailureCase{"LnOfNegative", "LN", {-1}},
                    FailureCase{"LogOfZero", "LOG", {0}}, FailureCase{"LogOfNegative", "LOG", {-5}},
                    FailureCase{"DecibelsOfZero", "DB", {0}},
                    FailureCase{"VoltageDecibelsOfNegative", "DB2", {-1}},
                    FailureCase{"SqrtOfNegative", "SQRT", {-1}},
                    FailureCase{"ArcSinAboveOne", "ARCSIN", {1.5}},
                    FailureCase{"ArcCosBelowMinusOne", "ARCCOS", {-1.5}},
                    FailureCase{"ArcSinDegreesAboveOne", "ARCSIND", {2}},
                    FailureCase{"ArcCosDegreesAboveOne", "ARCCOSD", {1.0000000000000002}},
                    FailureCase{"ArcTanhOfOne", "ARCTANH", {1}},
                    FailureCase{"ArcTanhOfMinusOne", "ARCTANH", {-1}},
                    FailureCase{"ArcTanhBeyondOne", "ARCTANH", {3}},
                    FailureCase{"ArcTanhDegreesOfOne", "ARCTANHD", {1}},
                    FailureCase{"TruncAtTwoTo63", "TRUNC", {9223372036854775808.0}},
                    FailureCase{"TruncAtMinusTwoTo63", "TRUNC", {-9223372036854775808.0}},
                    FailureCase{"RoundBeyondRange", "ROUND", {1e300}},
                    FailureCase{"CeilBeyondRange", "CEIL", {1e19}},
                    FailureCase{"FloorBeyondRange", "FLOOR", {-1e19}},
                    FailureCase{"ExpBeyondDouble", "EXP", {710}},
                    FailureCase{"SinhBeyondDouble", "SINH", {1000}},
                    FailureCase{"CoshBeyondDouble", "COSH", {-1000}},
                    FailureCase{"DecibelsBeyondDouble", "ADB", {3090}},
                    FailureCase{"VoltageDecibelsBeyondDouble", "ADB2", {6200}},
                    FailureCase{"CapacitorOfZeroValue", "CAP", {0, 1000}},
                    FailureCase{"CapacitorAtZeroFrequency", "CAP", {1e-6, 0}},
                    FailureCase{"CapacitanceOfZeroReactance", "ACAP", {0, 1000}},
                    FailureCase{"CapacitanceAtZeroFrequency", "ACAP", {-100, 0}},
                    FailureCase{"InductanceAtZeroFrequency", "AIND", {100, 0}},
                    FailureCase{"SumOverflowingADouble", "SUM", {1e308, 1e308}},
                    FailureCase{"MeanOverflowingADouble", "MEAN", {-1e308, -1e308}}),
    RowName);

TEST(BuiltinFunction, UnknownIndexIsAFailure) {
    EXPECT_THROW(ApplyBuiltinFunction(-1, 1, {}, nullptr), EMathError);
    EXPECT_THROW(ApplyBuiltinFunction(49, 1, {}, nullptr), EMathError);
}

TEST(BuiltinFunction, NamesInOperatorTableOrder) {
    const auto names = BuiltinFunctionNames();
    ASSERT_EQ(names.size(), 49u);
    EXPECT_EQ(names.front(), "TRUNC");
    EXPECT_EQ(names[22], "SIND");
    EXPECT_EQ(names.back(), "IF");
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(FindBuiltinFunction(names[i]), static_cast<int>(i)) << names[i];
    EXPECT_EQ(FindBuiltinFunction("sin"), -1);  // names arrive folded to upper case
    EXPECT_EQ(FindBuiltinFunction("SINX"), -1);
    EXPECT_EQ(FindBuiltinFunction(""), -1);
}

// The one-argument electronics functions read the frequency from "_F", else "_FREQ".
TEST(BuiltinFunction, FrequencyComesFromTheVariablesList) {
    TVariableList list;
    EXPECT_EQ(Call("CAP", {1e-6}, nullptr), 0);  // no list: 0, no failure
    EXPECT_EQ(Call("CAP", {1e-6}, &list), 0);    // no frequency: 0, no failure
    list.Set("_FREQ", "2K");
    EXPECT_EQ(Call("IND", {0.001}, &list), Call("IND", {0.001, 2000}));
    list.Set("_f", "1k");  // user-typed text, read with unit suffixes
    EXPECT_EQ(Call("CAP", {1e-6}, &list), Call("CAP", {1e-6, 1000}));
    EXPECT_EQ(Call("ACAP", {-100}, &list), Call("ACAP", {-100, 1000}));
    EXPECT_EQ(Call("AIND", {10}, &list), Call("AIND", {10, 1000}));
    list.Set("_F", "0");
    EXPECT_THROW(Call("CAP", {1e-6}, &list), EMathError);
    EXPECT_THROW(Call("AIND", {1}, &list), EMathError);
    EXPECT_EQ(Call("IND", {1}, &list), 0);
    list.Set("_F", "fast");
    EXPECT_THROW(Call("IND", {1}, &list), EConvertError);
    list.Set("_F", "");
    EXPECT_EQ(Call("IND", {0.001}, &list), Call("IND", {0.001, 2000}));
}

struct ConstantCase {
    const char* row;
    const char* name;
    double value;
};

class Constant : public testing::TestWithParam<ConstantCase> {};

TEST_P(Constant, HasItsValue) {
    TRandomGenerator random(1);
    double value = -1;
    ASSERT_TRUE(LookupConstant(GetParam().name, random, value));
    EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Constants, Constant,
    testing::Values(ConstantCase{"BohrRadius", "_A0", 5.2917706e-11},
                    ConstantCase{"SpeedOfLight", "_C", 299792458},
                    ConstantCase{"Permeability", "_U0", 1.2566370614359173e-06},
                    ConstantCase{"Euler", "_E", 2.718281828459045},
                    ConstantCase{"Permittivity", "_E0", 8.854187818e-12},
                    ConstantCase{"ElectronCharge", "_EU", 1.6021892e-19},
                    ConstantCase{"UnderscoreFalse", "_FALSE", 0}, ConstantCase{"False", "FALSE", 0},
                    ConstantCase{"Planck", "_H", 6.626176e-34},
                    ConstantCase{"Boltzmann", "_K", 1.380662e-23},
                    ConstantCase{"ElectronMass", "_ME", 9.109534e-31},
                    ConstantCase{"ProtonMass", "_MP", 1.6726485e-27},
                    ConstantCase{"NeutronMass", "_MN", 1.6749543e-27},
                    ConstantCase{"Avogadro", "_NA", 6.022045e+23},
                    ConstantCase{"UnderscorePi", "_PI", 3.141592653589793},
                    ConstantCase{"Pi", "PI", 3.141592653589793},
                    ConstantCase{"GasConstant", "_R", 8.31441},
                    ConstantCase{"UnderscoreTrue", "_TRUE", 1}, ConstantCase{"True", "TRUE", 1},
                    ConstantCase{"BohrMagneton", "_UB", 9.274074e-24},
                    ConstantCase{"ElectronMoment", "_UE", 9.284832e-24},
                    ConstantCase{"ProtonMoment", "_UP", 1.4106171e-26},
                    ConstantCase{"MolarVolume", "_VM", 0.02241383}),
    RowName);

TEST(BuiltinConstant, RandomIsUniformInUnitIntervalAndChanges) {
    TRandomGenerator random(42);
    double previous = -1, sum = 0;
    int changes = 0;
    const int draws = 10000;
    for (int i = 0; i < draws; ++i) {
        double value = -1;
        ASSERT_TRUE(LookupConstant("_RND", random, value));
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        if (value != previous) ++changes;
        previous = value;
        sum += value;
    }
    EXPECT_EQ(changes, draws);
    EXPECT_NEAR(sum / draws, 0.5, 0.02);
}

TEST(BuiltinConstant, OnlyTheExactNamesAreConstants) {
    TRandomGenerator random(1);
    double value = 7;
    EXPECT_FALSE(LookupConstant("pi", random, value));
    EXPECT_FALSE(LookupConstant("_X", random, value));
    EXPECT_FALSE(LookupConstant("_PIE", random, value));
    EXPECT_FALSE(LookupConstant("", random, value));
    EXPECT_EQ(value, 7);
}

}  // namespace
