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

// What a function sees: its operand's value x (also in extended precision) and the earlier
// arguments, and the variables list for the frequency of the electronics functions.
struct TCall {
    long double x;
    double xd;  // x as the double it arrived as
    std::span<const double> args;
    const TVariableList* variables;
};

// The value v and frequency f of an electronics function: with two or more arguments the
// last but one and the last; with one, the value and the frequency from the variables list.
// False when there is no frequency: the function then yields 0.
bool ValueAndFrequency(const TCall& c, long double& v, long double& f) {
    if (!c.args.empty()) {
        v = c.args.back();
        f = c.x;
        return true;
    }
    v = c.x;
    return Frequency(c.variables, f);
}

// CAP and ACAP share the formula: -1 / (2 pi f v).
long double Capacitive(const TCall& c) {
    long double v = 0, f = 0;
    return ValueAndFrequency(c, v, f) ? Divide(-1, kTwoPi * f * v) : 0.0L;
}

// MAX and MIN: the argument that wins every comparison `better`, starting from x.
template <typename Better>
long double Best(const TCall& c, Better better) {
    double best = c.xd;
    for (double a : c.args)
        if (better(a, best)) best = a;
    return best;
}

// One built-in function: its name and how it computes.
struct TBuiltin {
    std::string_view name;
    long double (*apply)(const TCall&);
};

// The functions in operator-table order, TRUNC first and IF last.
constexpr TBuiltin kFunctions[] = {
    {"TRUNC", [](const TCall& c) { return Trunc(c.x); }},
    {"CEIL",
     [](const TCall& c) {
         CheckInt64Range(c.x);
         return std::ceil(c.x);
     }},
    {"FLOOR",
     [](const TCall& c) {
         CheckInt64Range(c.x);
         return std::floor(c.x);
     }},
    {"FRAC", [](const TCall& c) { return c.x - std::trunc(c.x); }},
    {"ROUND", [](const TCall& c) { return RoundHalfEven(c.x); }},
    {"ABS", [](const TCall& c) { return std::fabs(c.x); }},
    {"EXP", [](const TCall& c) { return std::exp(c.x); }},
    {"LN", [](const TCall& c) { return Log(c.x, LnL); }},
    {"LOG", [](const TCall& c) { return Log(c.x, Log10L); }},
    {"SQRT", [](const TCall& c) { return Sqrt(c.x); }},
    {"SIN", [](const TCall& c) { return Sin(c.x); }},
    {"COS", [](const TCall& c) { return Cos(c.x); }},
    {"TAN", [](const TCall& c) { return std::tan(c.x); }},
    {"SINH", [](const TCall& c) { return std::sinh(c.x); }},
    {"COSH", [](const TCall& c) { return std::cosh(c.x); }},
    {"TANH", [](const TCall& c) { return Tanh(c.x); }},
    {"ARCSIN", [](const TCall& c) { return ArcSin(c.x); }},
    {"ARCCOS", [](const TCall& c) { return ArcCos(c.x); }},
    {"ARCTAN", [](const TCall& c) { return std::atan(c.x); }},
    {"ARCSINH", [](const TCall& c) { return ArcSinh(c.x); }},
    {"ARCCOSH", [](const TCall& c) { return ArcCosh(c.x); }},
    {"ARCTANH", [](const TCall& c) { return ArcTanh(c.x); }},
    {"SIND", [](const TCall& c) { return Sin(DegreesToRadians(c.x)); }},
    {"COSD", [](const TCall& c) { return Cos(DegreesToRadians(c.x)); }},
    {"TAND", [](const TCall& c) { return std::tan(DegreesToRadians(c.x)); }},
    {"SINHD", [](const TCall& c) { return std::sinh(DegreesToRadians(c.x)); }},
    {"COSHD", [](const TCall& c) { return std::cosh(DegreesToRadians(c.x)); }},
    {"TANHD", [](const TCall& c) { return Tanh(DegreesToRadians(c.x)); }},
    {"ARCSIND", [](const TCall& c) -> long double { return ToDegrees(ArcSin(c.x)); }},
    {"ARCCOSD", [](const TCall& c) -> long double { return ToDegrees(ArcCos(c.x)); }},
    {"ARCTAND", [](const TCall& c) -> long double { return ToDegrees(std::atan(c.x)); }},
    {"ARCSINHD", [](const TCall& c) -> long double { return ToDegrees(ArcSinh(c.x)); }},
    {"ARCCOSHD", [](const TCall& c) -> long double { return ToDegrees(ArcCosh(c.x)); }},
    {"ARCTANHD", [](const TCall& c) -> long double { return ToDegrees(ArcTanh(c.x)); }},
    {"RADTODEG", [](const TCall& c) { return c.x * 360 / 2 / kPi; }},
    {"DEGTORAD", [](const TCall& c) { return c.x * 2 * kPi / 360; }},
    {"CAP", Capacitive},
    {"IND",
     [](const TCall& c) {
         long double v = 0, f = 0;
         return ValueAndFrequency(c, v, f) ? kTwoPi * f * v : 0.0L;
     }},
    {"ACAP", Capacitive},
    {"AIND",
     [](const TCall& c) {
         long double v = 0, f = 0;
         return ValueAndFrequency(c, v, f) ? Divide(v, kTwoPi * f) : 0.0L;
     }},
    {"DB", [](const TCall& c) { return 10 * Log(c.x, Log10L); }},
    {"DB2", [](const TCall& c) { return 20 * Log(c.x, Log10L); }},
    {"ADB", [](const TCall& c) { return std::pow(10.0L, c.x / 10); }},
    {"ADB2", [](const TCall& c) { return std::pow(10.0L, c.x / 20); }},
    {"SUM", [](const TCall& c) { return Sum(c.xd, c.args); }},
    {"MEAN",
     [](const TCall& c) {
         return Sum(c.xd, c.args) / static_cast<long double>(c.args.size() + 1);
     }},
    {"MAX", [](const TCall& c) { return Best(c, [](double a, double b) { return a > b; }); }},
    {"MIN", [](const TCall& c) { return Best(c, [](double a, double b) { return a < b; }); }},
    {"IF",
     [](const TCall& c) -> long double {
         return c.args.size() == 2 ? (c.args[0] != 0 ? c.args[1] : c.xd) : 0;
     }},
};

constexpr auto kFunctionNames = [] {
    std::array<std::string_view, std::size(kFunctions)> names{};
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = kFunctions[i].name;
    return names;
}();

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
    if (index < 0 || static_cast<size_t>(index) >= std::size(kFunctions)) RaiseInvalidOperation();
    const TCall call{x, x, args, variables};
    return StoreDouble(kFunctions[static_cast<size_t>(index)].apply(call));
}

bool LookupConstant(std::string_view name, TRandomGenerator& random, double& value) {
    // Most names are variables: one look at the first character turns them away before the
    // search.
    static const auto firsts = [] {
        std::array<bool, 256> table{};
        for (std::string_view constant : ConstantNames())
            table[static_cast<unsigned char>(constant[0])] = true;
        return table;
    }();
    if (name.empty() || !firsts[static_cast<unsigned char>(name[0])]) return false;
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
