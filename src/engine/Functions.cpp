// The built-in functions and constants.
//
// Every function computes in extended precision from the double arguments it is given and
// stores its result through StoreDouble, so a NaN or an infinity can never come out: domain
// errors raise EMathError themselves (invalid operation, division by zero or overflow, as
// the FPU would report them) and whatever still overflows the double is caught on the store.
// Integer conversions check their range before converting.
#include "engine/Functions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/MathFault.h"
#include "engine/RuvoSub.h"
#include "engine/VariableList.h"

namespace tallyon {

namespace {

// The function names in operator-table order; TFunction follows the same order.
constexpr std::array<std::string_view, 49> kFunctionNames = {
    "TRUNC",    "CEIL",    "FLOOR",   "FRAC",     "ROUND",    "ABS",      "EXP",
    "LN",       "LOG",     "SQRT",    "SIN",      "COS",      "TAN",      "SINH",
    "COSH",     "TANH",    "ARCSIN",  "ARCCOS",   "ARCTAN",   "ARCSINH",  "ARCCOSH",
    "ARCTANH",  "SIND",    "COSD",    "TAND",     "SINHD",    "COSHD",    "TANHD",
    "ARCSIND",  "ARCCOSD", "ARCTAND", "ARCSINHD", "ARCCOSHD", "ARCTANHD", "RADTODEG",
    "DEGTORAD", "CAP",     "IND",     "ACAP",     "AIND",     "DB",       "DB2",
    "ADB",      "ADB2",    "SUM",     "MEAN",     "MAX",      "MIN",      "IF"};

enum TFunction {
    fnTrunc,
    fnCeil,
    fnFloor,
    fnFrac,
    fnRound,
    fnAbs,
    fnExp,
    fnLn,
    fnLog,
    fnSqrt,
    fnSin,
    fnCos,
    fnTan,
    fnSinh,
    fnCosh,
    fnTanh,
    fnArcSin,
    fnArcCos,
    fnArcTan,
    fnArcSinh,
    fnArcCosh,
    fnArcTanh,
    fnSinD,
    fnCosD,
    fnTanD,
    fnSinhD,
    fnCoshD,
    fnTanhD,
    fnArcSinD,
    fnArcCosD,
    fnArcTanD,
    fnArcSinhD,
    fnArcCoshD,
    fnArcTanhD,
    fnRadToDeg,
    fnDegToRad,
    fnCap,
    fnInd,
    fnACap,
    fnAInd,
    fnDb,
    fnDb2,
    fnADb,
    fnADb2,
    fnSum,
    fnMean,
    fnMax,
    fnMin,
    fnIf,
    fnCount
};
static_assert(fnCount == kFunctionNames.size());

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kTwoPi = 6.283185307179586477L;
constexpr long double kLn2 = 0.693147180559945309417232121458176568L;
constexpr long double kTwoTo63 = 9223372036854775808.0L;
constexpr long double kTanhSaturation = 5678.2224944132199997L;

// Names with their index, sorted for binary search.
template <size_t N>
struct TSortedNames {
    std::array<std::pair<std::string_view, int>, N> entries;
    int Find(std::string_view name) const {
        const auto it = std::lower_bound(entries.begin(), entries.end(), name,
                                         [](const std::pair<std::string_view, int>& e,
                                            std::string_view n) { return e.first < n; });
        return (it != entries.end() && it->first == name) ? it->second : -1;
    }
};

template <size_t N>
TSortedNames<N> SortNames(const std::array<std::string_view, N>& names) {
    TSortedNames<N> sorted;
    for (size_t i = 0; i < N; ++i)
        sorted.entries[i] = {names[i], static_cast<int>(i)};
    std::sort(sorted.entries.begin(), sorted.entries.end());
    return sorted;
}

// Raises unless |x| < 2^63, the range of the 64-bit integer rounding functions.
void CheckInt64Range(long double x) {
    if (!(std::fabs(x) < kTwoTo63)) RaiseInvalidOperation();
}

long double Trunc(long double x) {
    CheckInt64Range(x);
    return static_cast<long double>(static_cast<int64_t>(x));
}

// Nearest integer, ties to the even one, whatever the FPU rounding mode.
long double RoundHalfEven(long double x) {
    CheckInt64Range(x);
    const long double lower = std::floor(x);
    const long double diff = x - lower;
    if (diff > 0.5L) return lower + 1;
    if (diff < 0.5L) return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

long double Log(long double x, long double (*log)(long double)) {
    if (x == 0) RaiseZeroDivide();
    if (x < 0) RaiseInvalidOperation();
    return log(x);
}
long double LnL(long double x) {
    return std::log(x);
}
long double Log10L(long double x) {
    return std::log10(x);
}

long double Sqrt(long double x) {
    if (x < 0) RaiseInvalidOperation();
    return std::sqrt(x);
}

// Sine and cosine give 0 from 2^63 on, where the FPU's argument reduction gives up.
long double Sin(long double x) {
    return std::fabs(x) >= kTwoTo63 ? 0 : std::sin(x);
}
long double Cos(long double x) {
    return std::fabs(x) >= kTwoTo63 ? 0 : std::cos(x);
}

long double Tanh(long double x) {
    if (x > kTanhSaturation) return 1;
    if (x < -kTanhSaturation) return -1;
    return std::tanh(x);
}

long double ArcSin(long double x) {
    return std::atan2(x, Sqrt(1 - x * x));
}
long double ArcCos(long double x) {
    return std::atan2(Sqrt(1 - x * x), x);
}

long double ArcSinh(long double x) {
    if (x == 0) return 0;
    if (std::fabs(x) > 1e10L) return std::copysign(kLn2 + std::log(std::fabs(x)), x);
    return std::asinh(x);
}

// 0 for every x <= 1: the function has no failure.
long double ArcCosh(long double x) {
    if (x <= 1) return 0;
    if (x > 1e10L) return kLn2 + std::log(x);
    return std::log(x + std::sqrt((x - 1) * (x + 1)));
}

long double ArcTanh(long double x) {
    if (x == 0) return 0;
    const long double a = std::fabs(x);
    if (a >= 1) RaiseOverflow();
    return std::copysign(0.5L * std::log1p(2 * a / (1 - a)), x);
}

// The angle of a degree function in radians, rounded to a double as the functions see it.
long double DegreesToRadians(long double x) {
    return static_cast<double>(x * kPi / 180);
}

// A radian result in degrees, in double precision.
double ToDegrees(long double radians) {
    return StoreDouble(radians) * 180.0 / static_cast<double>(kPi);
}

// The frequency of a one-argument electronics function: "_F", else "_FREQ"; false when
// neither holds a value or there is no list.
bool Frequency(const TVariableList* variables, long double& frequency) {
    if (variables == nullptr) return false;
    std::string text = variables->Get("_F");
    if (text.empty()) text = variables->Get("_FREQ");
    if (text.empty()) return false;
    frequency = RuvoStrToFloat(text);
    return true;
}

long double Divide(long double a, long double b) {
    if (b == 0) RaiseZeroDivide();
    return a / b;
}

// SUM: from the last argument, the earlier ones added in order, each partial sum a double.
long double Sum(double x, std::span<const double> args) {
    double sum = x;
    for (double a : args)
        sum = StoreDouble(static_cast<long double>(sum) + a);
    return sum;
}

long double Evaluate(int index, double xd, std::span<const double> args,
                     const TVariableList* variables) {
    const long double x = xd;
    switch (index) {
        case fnTrunc:
            return Trunc(x);
        case fnCeil:
            CheckInt64Range(x);
            return std::ceil(x);
        case fnFloor:
            CheckInt64Range(x);
            return std::floor(x);
        case fnFrac:
            return x - std::trunc(x);
        case fnRound:
            return RoundHalfEven(x);
        case fnAbs:
            return std::fabs(x);
        case fnExp:
            return std::exp(x);
        case fnLn:
            return Log(x, LnL);
        case fnLog:
            return Log(x, Log10L);
        case fnSqrt:
            return Sqrt(x);
        case fnSin:
            return Sin(x);
        case fnCos:
            return Cos(x);
        case fnTan:
            return std::tan(x);
        case fnSinh:
            return std::sinh(x);
        case fnCosh:
            return std::cosh(x);
        case fnTanh:
            return Tanh(x);
        case fnArcSin:
            return ArcSin(x);
        case fnArcCos:
            return ArcCos(x);
        case fnArcTan:
            return std::atan(x);
        case fnArcSinh:
            return ArcSinh(x);
        case fnArcCosh:
            return ArcCosh(x);
        case fnArcTanh:
            return ArcTanh(x);
        case fnSinD:
            return Sin(DegreesToRadians(x));
        case fnCosD:
            return Cos(DegreesToRadians(x));
        case fnTanD:
            return std::tan(DegreesToRadians(x));
        case fnSinhD:
            return std::sinh(DegreesToRadians(x));
        case fnCoshD:
            return std::cosh(DegreesToRadians(x));
        case fnTanhD:
            return Tanh(DegreesToRadians(x));
        case fnArcSinD:
            return ToDegrees(ArcSin(x));
        case fnArcCosD:
            return ToDegrees(ArcCos(x));
        case fnArcTanD:
            return ToDegrees(std::atan(x));
        case fnArcSinhD:
            return ToDegrees(ArcSinh(x));
        case fnArcCoshD:
            return ToDegrees(ArcCosh(x));
        case fnArcTanhD:
            return ToDegrees(ArcTanh(x));
        case fnRadToDeg:
            return x * 360 / 2 / kPi;
        case fnDegToRad:
            return x * 2 * kPi / 360;
        case fnCap:
        case fnInd:
        case fnACap:
        case fnAInd: {
            // Two or more arguments: the value and then the frequency; one: the value, with
            // the frequency from the variables list.
            long double v = x, f = 0;
            if (!args.empty()) {
                v = args.back();
                f = x;
            } else if (!Frequency(variables, f)) {
                return 0;
            }
            if (index == fnInd) return kTwoPi * f * v;
            if (index == fnAInd) return Divide(v, kTwoPi * f);
            return Divide(-1, kTwoPi * f * v);  // CAP and ACAP share the formula
        }
        case fnDb:
            return 10 * Log(x, Log10L);
        case fnDb2:
            return 20 * Log(x, Log10L);
        case fnADb:
            return std::pow(10.0L, x / 10);
        case fnADb2:
            return std::pow(10.0L, x / 20);
        case fnSum:
            return Sum(xd, args);
        case fnMean:
            return Sum(xd, args) / static_cast<long double>(args.size() + 1);
        case fnMax:
        case fnMin: {
            double best = xd;
            for (double a : args)
                if (index == fnMax ? a > best : a < best) best = a;
            return best;
        }
        case fnIf:
            return args.size() == 2 ? (args[0] != 0 ? args[1] : xd) : 0;
        default:
            RaiseInvalidOperation();
    }
}

// The constants; "_E" and "_RND" are computed when they are bound.
struct TConstant {
    std::string_view name;
    double value;
};

constexpr std::array<TConstant, 24> kConstants = {{
    {"_A0", 5.2917706e-11},           // Bohr radius (m)
    {"_C", 299792458},                // speed of light in free space (m/s)
    {"_U0", 1.2566370614359173e-06},  // permeability of free space, 4 pi 1e-7
    {"_E", 0},                        // e, computed
    {"_E0", 8.854187818e-12},         // permittivity of free space
    {"_EU", 1.6021892e-19},           // electron charge (C)
    {"_FALSE", 0},
    {"FALSE", 0},
    {"_H", 6.626176e-34},    // Planck constant
    {"_K", 1.380662e-23},    // Boltzmann constant
    {"_ME", 9.109534e-31},   // electron mass (kg)
    {"_MP", 1.6726485e-27},  // proton mass (kg)
    {"_MN", 1.6749543e-27},  // neutron mass (kg)
    {"_NA", 6.022045e+23},   // Avogadro constant
    {"_PI", 3.141592653589793},
    {"PI", 3.141592653589793},
    {"_R", 8.31441},  // molar gas constant
    {"_TRUE", 1},
    {"TRUE", 1},
    {"_UB", 9.274074e-24},   // Bohr magneton
    {"_UE", 9.284832e-24},   // magnetic moment of the electron
    {"_UP", 1.4106171e-26},  // magnetic moment of the proton
    {"_VM", 0.02241383},     // standard molar volume of an ideal gas (m3/mol)
    {"_RND", 0},             // uniform in [0, 1), drawn at each binding
}};

std::array<std::string_view, kConstants.size()> ConstantNames() {
    std::array<std::string_view, kConstants.size()> names;
    for (size_t i = 0; i < kConstants.size(); ++i)
        names[i] = kConstants[i].name;
    return names;
}

}  // namespace

std::span<const std::string_view> BuiltinFunctionNames() {
    return kFunctionNames;
}

int FindBuiltinFunction(std::string_view name) {
    static const auto sorted = SortNames(kFunctionNames);
    return sorted.Find(name);
}

double ApplyBuiltinFunction(int index, double x, std::span<const double> args,
                            const TVariableList* variables) {
    return StoreDouble(Evaluate(index, x, args, variables));
}

bool LookupConstant(std::string_view name, TRandomGenerator& random, double& value) {
    static const auto sorted = SortNames(ConstantNames());
    const int index = sorted.Find(name);
    if (index < 0) return false;
    const std::string_view found = kConstants[static_cast<size_t>(index)].name;
    if (found == "_E") {
        value = static_cast<double>(std::exp(1.0L));
    } else if (found == "_RND") {
        // The top 53 bits as a fraction: every double in [0, 1) on the 2^-53 grid, never 1.
        value = static_cast<double>(random() >> 11) * 0x1.0p-53;
    } else {
        value = kConstants[static_cast<size_t>(index)].value;
    }
    return true;
}

}  // namespace tallyon
