// Number text: reading and writing numbers in extended precision.
//
// Reading. TryRuvoStrToFloat folds the text to upper case, looks for a decimal exponent
// ("<digit>E<digit|sign>"), and hands mantissa and exponent to ApplyUnitSuffix, which scales a
// plain decimal literal by the first unit suffix of the table that occurs in the text. The
// literal itself is validated here character by character; up to 19 significant digits with a
// small decimal exponent are converted exactly with one rounding (digits * 10^k, both exact in
// a 64-bit mantissa), anything longer goes through strtold on a rebuilt "digits e exponent"
// text that holds no decimal point, so the result never depends on the C locale.
//
// Writing. The digit generator needs the first 20 significant digits of the exact binary
// value, truncated; rounding half away from zero at any cut then only looks at the next digit.
// Magnitudes from about 1e-17 to 1e19 get them as floor(|v| * 10^k) in 192-bit integer
// arithmetic. Others ask printf for 40 correctly rounded digits and keep the first 20, which
// is only wrong when printf carried into them, leaving digits 21..40 all zero; the rounding can
// only come out differently when the cut lands on an apparent exact tie, and then the full
// exact expansion is printed to decide. The four layouts then work on the rounded digits.
#include "engine/RuvoSub.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/AsciiText.h"
#include "engine/MathFault.h"

namespace tallyon {

namespace {

// Powers of ten that a 64-bit mantissa holds exactly (5^27 < 2^64).
constexpr int kExactPow10Max = 27;
constexpr auto kExactPow10 = [] {
    struct Table {
        long double v[kExactPow10Max + 1];
    } table{};
    long double p = 1.0L;
    for (int i = 0; i <= kExactPow10Max; ++i) {
        table.v[i] = p;
        p *= 10.0L;
    }
    return table;
}();

struct UnitSuffix {
    std::string_view text;
    long double multiplier;
};

// The unit suffixes in the order reading tries them: longer suffixes first, so that "MEG" wins
// over "M" and "G". The order comes from an exchange sort run once on the table as written.
const std::array<UnitSuffix, 12>& UnitSuffixes() {
    static const std::array<UnitSuffix, 12> table = [] {
        std::array<UnitSuffix, 12> t{{
            {"T", 1e12L},
            {"MG", 1e6L},
            {"MEG", 1e6L},
            {"G", 1e9L},
            {"K", 1e3L},
            {"M", 1e-3L},
            {"U", 1e-6L},
            {"N", 1e-9L},
            {"P", 1e-12L},
            {"F", 1e-15L},
            {"A", 1e-18L},
            // pi / 180 as the nearest double: 30DEG then reads as 0.5235987755982988, the
            // value the degree functions also use.
            {"DEG", static_cast<double>(0.017453292519943295769L)},
        }};
        for (size_t i = 0; i + 1 < t.size(); ++i)
            for (size_t j = i + 1; j < t.size(); ++j)
                if (t[i].text.size() < t[j].text.size()) std::swap(t[i], t[j]);
        return t;
    }();
    return table;
}

// The suffix texts of Engineering output, one per power of one thousand from 1e-18 to 1e12.
constexpr std::string_view kEngineeringSuffixes[11] = {"A", "F", "P",  "N", "U", "M",
                                                       "",  "K", "MG", "G", "T"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void RaiseNotAFloat(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    throw EConvertError(message);
}

// 10^n for n >= 0 by square-and-multiply; exact up to 10^27, infinity past the range.
long double IntPow10(uint64_t n) {
    if (n <= kExactPow10Max) return kExactPow10.v[n];
    long double result = 1.0L, base = 10.0L;
    while (n != 0) {
        if (n & 1) result *= base;
        n >>= 1;
        if (n != 0) base *= base;
        if (std::isinf(result)) break;
    }
    return result;
}

// Reads a plain decimal literal: blanks (spaces only), sign, digits with an optional point,
// optional exponent whose digits may be missing, blanks. "." reads as 0 and "2E" as 2.
// Raises EConvertError for anything else and for values beyond the extended range; values
// below it become zero or subnormal.
long double DecimalLiteral(std::string_view s) {
    const size_t n = s.size();
    size_t i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    const size_t intBegin = i;
    while (i < n && IsDigit(s[i]))
        ++i;
    const size_t intEnd = i;
    bool point = false;
    size_t fracBegin = i, fracEnd = i;
    if (i < n && s[i] == '.') {
        point = true;
        fracBegin = ++i;
        while (i < n && IsDigit(s[i]))
            ++i;
        fracEnd = i;
    }
    if (!point && intBegin == intEnd) RaiseNotAFloat(s);

    // Exponent digits saturate far beyond any representable magnitude.
    constexpr int64_t kExponentCap = 1000000000;
    int64_t exponent = 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
        while (i < n && IsDigit(s[i])) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (negativeExponent) exponent = -exponent;
    }
    while (i < n && s[i] == ' ')
        ++i;
    if (i != n) RaiseNotAFloat(s);

    // Fast path: at most 19 significant digits, exact as an integer, times an exact power.
    uint64_t mantissa = 0;
    int significant = 0;
    int64_t scale = exponent;
    bool tooLong = false;
    auto take = [&](size_t from, size_t to, bool fraction) {
        for (size_t k = from; k < to && !tooLong; ++k) {
            const int digit = s[k] - '0';
            if (mantissa == 0 && digit == 0) {
                if (fraction) --scale;
                continue;
            }
            if (significant == 19) {
                tooLong = true;
                return;
            }
            mantissa = mantissa * 10 + static_cast<uint64_t>(digit);
            ++significant;
            if (fraction) --scale;
        }
    };
    take(intBegin, intEnd, false);
    take(fracBegin, fracEnd, true);

    long double value;
    if (!tooLong && mantissa == 0) {
        value = 0.0L;
    } else if (!tooLong && scale >= -kExactPow10Max && scale <= kExactPow10Max) {
        const long double m = static_cast<long double>(mantissa);
        value = scale >= 0 ? m * kExactPow10.v[scale] : m / kExactPow10.v[-scale];
    } else {
        // Slow path: all digits and an exponent, no decimal point, so no locale is involved.
        std::string text;
        text.reserve(intEnd - intBegin + fracEnd - fracBegin + 24);
        text.append(s.substr(intBegin, intEnd - intBegin));
        text.append(s.substr(fracBegin, fracEnd - fracBegin));
        text += 'e';
        text += std::to_string(exponent - static_cast<int64_t>(fracEnd - fracBegin));
        value = std::strtold(text.c_str(), nullptr);
        if (std::isinf(value)) RaiseNotAFloat(s);
    }
    return negative ? -value : value;
}

// What ReadShortDecimal made of a text.
enum class TShortReading {
    Read,   // the value is read
    Plain,  // only digits and points, but not short: DecimalLiteral reads or refuses it
    Other,  // some other character: the general reading takes it
};

bool OnlyDigitsAndPoints(std::string_view s) {
    for (char c : s)
        if (!IsDigit(c) && c != '.') return false;
    return true;
}

// The common case of DecimalLiteral in one pass: digits with at most one point, at most 19
// significant digits and at most 27 decimals, converted the same exact way. `value` is only
// written when the text is read. The whole part and the decimals are each taken by a loop
// that only tests for a digit; the point, leading zeros and the limits are dealt with
// between them.
TShortReading ReadShortDecimal(std::string_view s, long double& value) {
    const char* p = s.data();
    const char* const end = p + s.size();
    // What follows a stop that is neither a digit nor the end.
    const auto stopped = [&s, &p] {
        if (*p != '.') return TShortReading::Other;
        return OnlyDigitsAndPoints(s.substr(static_cast<size_t>(p - s.data())))
                   ? TShortReading::Plain
                   : TShortReading::Other;
    };
    const auto isDigit = [](char c) { return static_cast<unsigned>(c - '0') <= 9u; };
    while (p != end && *p == '0')
        ++p;
    uint64_t mantissa = 0;
    const char* const whole = p;
    for (; p != end && isDigit(*p); ++p)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    std::ptrdiff_t significant = p - whole;
    std::ptrdiff_t decimalCount = 0;
    if (p != end) {
        if (*p != '.') return TShortReading::Other;
        const char* const decimals = ++p;
        if (significant == 0) {
            while (p != end && *p == '0')
                ++p;
        }
        const char* const first = p;
        for (; p != end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        significant += p - first;
        if (p != end) return stopped();
        decimalCount = p - decimals;
    }
    // Beyond 19 digits the mantissa wrapped; the text is plain digits and at most one point.
    if (significant > 19) return TShortReading::Plain;
    if (mantissa == 0) {
        value = 0.0L;
        return TShortReading::Read;
    }
    if (decimalCount > kExactPow10Max) return TShortReading::Plain;
    const auto scale = static_cast<size_t>(decimalCount);
    value = static_cast<long double>(mantissa) / kExactPow10.v[scale];
    return TShortReading::Read;
}

// 10^e * m in extended precision. A whole e uses square-and-multiply (dividing by 10^-e for
// a negative e, which keeps tiny results exact as long as possible); a fractional e uses the
// general power. A result beyond the extended range is an overflow.
long double ScaleByPow10(long double m, long double e) {
    if (e == 0.0L) return m;
    long double result;
    if (e == std::trunc(e) && std::fabs(e) <= 2147483647.0L) {
        const auto n = static_cast<uint64_t>(std::fabs(e));
        const long double p = IntPow10(n);
        result = e > 0 ? m * p : m / p;
    } else {
        result = std::pow(10.0L, e) * m;
    }
    if (std::isinf(result) || std::isnan(result)) RaiseOverflow();
    return result;
}

// ASCII upper case of text, in a caller's buffer when it fits.
class UpperText {
public:
    explicit UpperText(std::string_view text) {
        char* out = buffer_;
        if (text.size() > sizeof buffer_) {
            heap_.resize(text.size());
            out = heap_.data();
        }
        for (size_t i = 0; i < text.size(); ++i)
            out[i] = AsciiUpper(text[i]);
        view_ = std::string_view(out, text.size());
    }
    std::string_view view() const { return view_; }

private:
    char buffer_[64];
    std::string heap_;
    std::string_view view_;
};

// ---- Digit generation -------------------------------------------------------------------

// The first kTruncDigits significant digits of |v|, truncated exactly, and its decimal exponent
// x, so that |v| = 0.d1d2d3... * 10^x. `ambiguous` marks that printf may have carried into
// them (the checked digits after them were all zero).
constexpr int kTruncDigits = 20;
constexpr int kCheckDigits = 20;

struct ExactDigits {
    char d[kTruncDigits];
    int x = 0;
    bool ambiguous = false;
};

// Parses "d.dddde[+-]xxx" as printed by %.*Le into digits and exponent.
void ParsePrinted(const char* text, char* digits, int count, int& x) {
    int k = 0;
    const char* p = text;
    for (; *p != 'e' && k < count; ++p)
        if (IsDigit(*p)) digits[k++] = *p;
    while (*p != 'e')
        ++p;
    x = std::atoi(p + 1) + 1;
}

// The 64-bit mantissa and the frexp exponent of a normal x87 extended value, read from its
// bits (the library's frexp and ldexp cost more than the whole digit split). False for other
// formats and for zero, subnormal, infinite and NaN values.
bool MantissaOf(long double value, uint64_t& mantissa, int& binaryExponent) {
    if constexpr (std::numeric_limits<long double>::digits != 64 ||
                  sizeof(long double) < 10) {
        return false;
    } else {
        unsigned char bytes[sizeof(long double)];
        std::memcpy(bytes, &value, sizeof bytes);
        uint16_t signExponent = 0;
        std::memcpy(&mantissa, bytes, sizeof mantissa);
        std::memcpy(&signExponent, bytes + 8, sizeof signExponent);
        const int biased = signExponent & 0x7fff;
        if (biased == 0 || biased == 0x7fff || (mantissa >> 63) == 0) return false;
        binaryExponent = biased - 16382;
        return true;
    }
}

// Fast path for magnitudes from about 1e-17 to 1e19 with a mantissa of at most 64 bits:
// floor(|v| * 10^k) exactly in 192-bit integer arithmetic, |v| = m * 2^e with m < 2^64 and
// 10^k < 2^128. Returns false outside that range.
bool TruncatedByIntegers(long double magnitude, ExactDigits& out) {
    if constexpr (std::numeric_limits<long double>::digits > 64) {
        return false;
    } else {
        __extension__ using u128 = unsigned __int128;
        static constexpr auto kPow10 = [] {
            std::array<u128, 39> table{};
            u128 p = 1;
            for (auto& entry : table) {
                entry = p;
                p *= 10;
            }
            return table;
        }();
        // |v| = mantissa * 2^(binaryExponent - 64) with the top bit of mantissa set.
        uint64_t mantissa = 0;
        int binaryExponent = 0;
        if (!MantissaOf(magnitude, mantissa, binaryExponent)) {
            const long double fraction = std::frexp(magnitude, &binaryExponent);
            mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
        }
        // An estimate of x that is exact or one too small.
        const int estimate =
            static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398119521)) + 1;
        if (estimate < -17 || estimate > 19) return false;
        const int shift = binaryExponent - 64;  // |v| = mantissa * 2^shift
        const u128 power = kPow10[static_cast<size_t>(kTruncDigits - estimate)];

        // mantissa * power as three 64-bit limbs, least significant first.
        const u128 low = static_cast<u128>(mantissa) * static_cast<uint64_t>(power);
        const u128 high = static_cast<u128>(mantissa) * static_cast<uint64_t>(power >> 64);
        const u128 middle = (low >> 64) + static_cast<uint64_t>(high);
        const uint64_t limbs[5] = {
            static_cast<uint64_t>(low), static_cast<uint64_t>(middle),
            static_cast<uint64_t>(middle >> 64) + static_cast<uint64_t>(high >> 64), 0, 0};
        u128 q;
        if (shift >= 0) {
            if (limbs[2] != 0 || shift > 3) return false;
            q = ((static_cast<u128>(limbs[1]) << 64) | limbs[0]) << shift;
        } else {
            const int word = -shift / 64, bit = -shift % 64;
            auto limb = [&](int k) {
                return bit == 0 ? limbs[k] : (limbs[k] >> bit) | (limbs[k + 1] << (64 - bit));
            };
            q = (static_cast<u128>(limb(word + 1)) << 64) | limb(word);
        }
        out.x = estimate;
        // q < 10^21 < 2^70. The digits are split into two halves of ten by 64-bit divisions
        // only: 10^k = 2^k * 5^k, and floor(floor(q / 2^k) / 5^k) = floor(q / 10^k).
        uint64_t top = 0;
        if (q >= kPow10[kTruncDigits]) {
            ++out.x;
            top = static_cast<uint64_t>(q >> 11) / 48828125u;  // q / 10^11
            const auto rest = static_cast<uint64_t>(q - static_cast<u128>(top) * kPow10[11]);
            q = static_cast<u128>(top) * kPow10[10] + rest / 10;
        } else {
            if (q < kPow10[kTruncDigits - 1]) return false;
            top = static_cast<uint64_t>(q >> 10) / 9765625u;  // q / 10^10
        }
        // Each half of ten digits is written two digits at a time.
        static constexpr auto kPairs = [] {
            std::array<char, 200> pairs{};
            for (int i = 0; i < 100; ++i) {
                pairs[static_cast<size_t>(2 * i)] = static_cast<char>('0' + i / 10);
                pairs[static_cast<size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
            }
            return pairs;
        }();
        uint64_t parts[2] = {top, static_cast<uint64_t>(q - static_cast<u128>(top) * kPow10[10])};
        for (int half = 1; half >= 0; --half) {
            for (int k = 8; k >= 0; k -= 2) {
                const auto pair = static_cast<size_t>(parts[half] % 100);
                parts[half] /= 100;
                out.d[half * 10 + k] = kPairs[2 * pair];
                out.d[half * 10 + k + 1] = kPairs[2 * pair + 1];
            }
        }
        out.ambiguous = false;  // these digits are exact
        return true;
    }
}

void TruncatedUncached(long double magnitude, ExactDigits& result) {
    if (TruncatedByIntegers(magnitude, result)) return;
    char buffer[kTruncDigits + kCheckDigits + 16];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kTruncDigits + kCheckDigits - 1, magnitude);
    char all[kTruncDigits + kCheckDigits];
    ParsePrinted(buffer, all, kTruncDigits + kCheckDigits, result.x);
    std::copy(all, all + kTruncDigits, result.d);
    result.ambiguous = true;
    for (int k = kTruncDigits; k < kTruncDigits + kCheckDigits; ++k)
        if (all[k] != '0') result.ambiguous = false;
}

// The digits of the magnitude written last are kept: a calculated value is written several
// times in a row (the result text, "ANS", the assigned value, the answer in its format).
// The reference stays valid until the next call for another magnitude.
const ExactDigits& Truncated(long double magnitude) {
    struct TLast {
        long double magnitude = -1;  // never a magnitude, so the first call computes
        ExactDigits digits;
    };
    thread_local TLast last;
    if (magnitude != last.magnitude) {
        TruncatedUncached(magnitude, last.digits);
        last.magnitude = magnitude;
    }
    return last.digits;
}

// The exact digits of a value whose printed digits may hide a carry: prints the whole exact
// expansion (every binary fraction has a finite decimal one).
ExactDigits FullyExpanded(long double magnitude) {
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    const int fractionDigits = binaryExponent < 64 ? 64 - binaryExponent : 0;
    const int integerDigits = binaryExponent > 0 ? binaryExponent * 31 / 100 + 2 : 1;
    const int precision = fractionDigits + integerDigits + kTruncDigits;
    std::string buffer(static_cast<size_t>(precision) + 32, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%.*Le", precision, magnitude);
    ExactDigits result;
    ParsePrinted(buffer.c_str(), result.d, kTruncDigits, result.x);
    return result;
}

// Digits rounded to a count, half away from zero, trailing zeros dropped; empty for zero.
struct Rounded {
    // Room for a whole block of digits to be copied from any digit on: see CopyDigits.
    char d[2 * kTruncDigits];
    int count = 0;
    int x = 0;
    bool negative = false;
};

// Rounds |v| to `keep` significant digits (keep may be 0 or negative: a cut above the first
// digit), given its exact truncated digits.
// Writes into `r` (a fresh Rounded): the caller's own object is filled in place, as copying
// a result whose digits were just stored a byte at a time makes the processor wait.
void RoundDigits(long double magnitude, const ExactDigits& digits, int keep, Rounded& r) {
    r.x = digits.x;
    if (keep < 0) return;
    if (keep > kTruncDigits - 1) keep = kTruncDigits - 1;
    bool up = digits.d[keep] >= '5';
    if (digits.d[keep] == '5' && digits.ambiguous) {
        bool tie = true;
        for (int k = keep + 1; k < kTruncDigits; ++k)
            if (digits.d[k] != '0') tie = false;
        if (tie) {
            const ExactDigits exact = FullyExpanded(magnitude);
            up = exact.x != digits.x || exact.d[keep] >= '5';
        }
    }
    std::memcpy(r.d, digits.d, kTruncDigits);  // a fixed size: no call
    r.count = keep;
    if (up) {
        int k = keep - 1;
        while (k >= 0 && r.d[k] == '9')
            r.d[k--] = '0';
        if (k >= 0) {
            ++r.d[k];
        } else {
            r.d[0] = '1';
            r.count = 1;
            ++r.x;
        }
    }
    while (r.count > 0 && r.d[r.count - 1] == '0')
        --r.count;
}

// The digits of v: its exact truncation, from which any number of digits can be rounded.
class ValueDigits {
public:
    explicit ValueDigits(long double v) : value_(v), magnitude_(std::fabs(v)) {
        if (v != 0.0L) exact_ = Truncated(magnitude_);
    }
    // The exact decimal exponent x (|v| = 0.d1d2... * 10^x); 0 for zero.
    int x() const { return exact_.x; }
    Rounded Round(int keep) const {
        Rounded r;
        if (value_ != 0.0L) {
            RoundDigits(magnitude_, exact_, keep, r);
            r.negative = value_ < 0 && r.count > 0;
        }
        return r;
    }

private:
    long double value_;
    long double magnitude_;
    ExactDigits exact_{};
};

// The same as ValueDigits(v).Round(keep), reading the kept digits in place.
Rounded Digits(long double v, int keep) {
    Rounded r;  // one object returned from every path: built in the caller's place
    if (v != 0.0L) {
        const long double magnitude = std::fabs(v);
        RoundDigits(magnitude, Truncated(magnitude), keep, r);
        r.negative = v < 0 && r.count > 0;
    }
    return r;
}

void AppendExponent(std::string& out, int exponent, bool alwaysSign, int minWidth) {
    if (exponent < 0) {
        out += '-';
    } else if (alwaysSign) {
        out += '+';
    }
    const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    for (int k = static_cast<int>(digits.size()); k < minWidth; ++k)
        out += '0';
    out += digits;
}

// Writes the General layout into `out`, which must hold kGeneralMax characters; returns the
// length written. Building the text in a fixed buffer and copying it once keeps the writer
// off the string's growth path: every answer and every stored value goes through here.
constexpr int kGeneralMax = 64;  // sign, "0.", 3 zeros, 19 digits, or d.ddd with "E-4951"

// Copies the digits of `r` from `from` to its count to `p` and returns the end: a block of
// fixed size is copied (no library call) and only the wanted part counts. `p` must have
// kTruncDigits characters of room.
char* CopyDigits(char* p, const Rounded& r, int from) {
    std::memcpy(p, r.d + from, kTruncDigits);
    return p + (r.count - from);
}

int WriteGeneralTo(char* out, const Rounded& r, int precision) {
    if (r.count == 0) {
        out[0] = '0';
        return 1;
    }
    char* p = out;
    if (r.negative) *p++ = '-';
    if (r.x >= -3 && r.x <= precision) {
        if (r.x <= 0) {
            *p++ = '0';
            *p++ = '.';
            for (int k = r.x; k < 0; ++k)
                *p++ = '0';
            p = CopyDigits(p, r, 0);
        } else {
            for (int k = 0; k < r.x; ++k)
                *p++ = k < r.count ? r.d[k] : '0';
            if (r.count > r.x) {
                *p++ = '.';
                p = CopyDigits(p, r, r.x);
            }
        }
    } else {
        *p++ = r.d[0];
        if (r.count > 1) {
            *p++ = '.';
            p = CopyDigits(p, r, 1);
        }
        *p++ = 'E';
        int exponent = r.x - 1;
        if (exponent < 0) {
            *p++ = '-';
            exponent = -exponent;
        }
        char digits[12];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + exponent % 10);
            exponent /= 10;
        } while (exponent != 0);
        while (n > 0)
            *p++ = digits[--n];
    }
    return static_cast<int>(p - out);
}

std::string WriteGeneral(const Rounded& r, int precision) {
    char buffer[kGeneralMax];
    return std::string(buffer, static_cast<size_t>(WriteGeneralTo(buffer, r, precision)));
}

std::string WriteExponent(long double v, int precision, int digits) {
    Rounded r = Digits(v, precision);
    std::string out;
    if (r.negative) out += '-';
    const int exponent = r.count == 0 ? 0 : r.x - 1;
    out += r.count > 0 ? r.d[0] : '0';
    out += '.';
    for (int k = 1; k < precision; ++k)
        out += k < r.count ? r.d[k] : '0';
    out += 'E';
    AppendExponent(out, exponent, true, digits >= 0 && digits <= 3 ? digits : 0);
    return out;
}

std::string WriteFixed(long double v, int precision, int digits) {
    if (digits < 0) digits = 0;
    if (digits > 18) digits = 18;
    const ValueDigits all(v);
    Rounded r = all.Round(precision);
    if (r.x > precision) return WriteGeneral(r, precision);
    // One rounding of the exact value at whichever cut comes first.
    if (r.count > 0 && all.x() + digits < precision) r = all.Round(all.x() + digits);
    std::string out;
    if (r.negative) out += '-';
    if (r.count == 0 || r.x <= 0) {
        out += '0';
    } else {
        for (int k = 0; k < r.x; ++k)
            out += k < r.count ? r.d[k] : '0';
    }
    if (digits > 0) {
        out += '.';
        for (int k = 0; k < digits; ++k) {
            const int position = r.x + k;  // index into the digits of the k-th decimal
            out += (r.count > 0 && position >= 0 && position < r.count) ? r.d[position] : '0';
        }
    }
    return out;
}

std::string WriteEngineering(long double v, int precision, int digits) {
    if (v == 0.0L) return WriteFixed(v, precision, digits);
    const long double magnitude = std::fabs(v);
    const int d = static_cast<int>(std::trunc(std::log10(magnitude)));
    if (d >= 15 || d < -18) return WriteExponent(v, precision, digits);
    const int i = (d + 18) / 3;
    const int r = (d + 18) % 3;
    const long double m =
        (d >= 0 ? v / kExactPow10.v[d] : v * kExactPow10.v[-d]) * kExactPow10.v[r];
    std::string out = WriteGeneral(Digits(m, precision), precision);
    out += kEngineeringSuffixes[i];
    return out;
}

}  // namespace

int DecimalExponent(long double value) {
    return ValueDigits(value).x();
}

TRoundedDigits RoundSignificant(long double value, int keep) {
    const Rounded r = Digits(std::fabs(value), keep);
    return {std::string(r.d, static_cast<std::size_t>(r.count)), r.x};
}

long double ApplyUnitSuffix(std::string_view text) {
    // Most numbers carry no suffix letter at all: skip the twelve searches for them.
    if (text.find_first_of("MDGKUNPFAT") != std::string_view::npos) {
        for (const UnitSuffix& suffix : UnitSuffixes()) {
            const size_t at = text.find(suffix.text);
            if (at == std::string_view::npos) continue;
            const long double result = DecimalLiteral(text.substr(0, at)) * suffix.multiplier;
            if (std::isinf(result)) RaiseOverflow();
            return result;
        }
    }
    return DecimalLiteral(text);
}

namespace {

// A stored number as the general layout writes it: an optional sign, a short decimal and an
// optional exponent of a few digits ("-1.25", "4.7E-5"). Read the way the general reading
// below takes it (the mantissa, then scaled by the exponent, the sign applied to both), but
// without folding or searching for suffixes. False, with `value` untouched, for any other text.
bool ReadShortNumber(std::string_view text, long double& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    size_t e = 0;
    while (e < text.size() && text[e] != 'E' && text[e] != 'e')
        ++e;
    // The general reading takes an exponent only after a digit; an empty mantissa is not
    // a number there.
    if (e == 0 || (e < text.size() && !IsDigit(text[e - 1]))) return false;
    long double mantissa = 0;
    if (ReadShortDecimal(text.substr(0, e), mantissa) != TShortReading::Read) return false;
    if (e < text.size()) {
        std::string_view power = text.substr(e + 1);
        bool negativePower = false;
        if (!power.empty() && (power[0] == '-' || power[0] == '+')) {
            negativePower = power[0] == '-';
            power.remove_prefix(1);
        }
        if (power.empty() || power.size() > 9) return false;
        long exponent = 0;
        for (char c : power) {
            if (!IsDigit(c)) return false;
            exponent = exponent * 10 + (c - '0');
        }
        mantissa =
            ScaleByPow10(mantissa, static_cast<long double>(negativePower ? -exponent : exponent));
    }
    value = negative ? -mantissa : mantissa;
    return true;
}

}  // namespace

bool TryRuvoStrToFloat(std::string_view text, long double& value) {
    value = 0.0L;
    if (text.empty()) return false;
    // Most numbers are plain digits with a point: no letter to fold, no exponent, no suffix,
    // so they go straight to the literal reader.
    switch (ReadShortDecimal(text, value)) {
        case TShortReading::Read:
            return true;
        case TShortReading::Plain:
            value = DecimalLiteral(text);
            return true;
        case TShortReading::Other:
            break;
    }
    // Stored values are mostly of the general layout, signed or with an exponent.
    if (ReadShortNumber(text, value)) return true;
    const UpperText upper(text);
    const std::string_view u = upper.view();
    const char first = u[0];
    if (!(first == '+' || first == '-' || first == '.' || IsDigit(first))) return false;

    for (size_t k = 1; k + 1 < u.size(); ++k) {
        if (u[k] == 'E' && IsDigit(u[k - 1]) &&
            (IsDigit(u[k + 1]) || u[k + 1] == '+' || u[k + 1] == '-')) {
            const long double mantissa = ApplyUnitSuffix(u.substr(0, k));
            const long double exponent = ApplyUnitSuffix(u.substr(k + 1));
            value = ScaleByPow10(mantissa, exponent);
            return true;
        }
    }
    value = ApplyUnitSuffix(u);
    return true;
}

long double RuvoStrToFloat(std::string_view text) {
    long double value = 0.0L;
    if (!TryRuvoStrToFloat(text, value)) throw EConvertError("RuvoStrToFloat: Not a number.");
    return value;
}

std::string RuvoFloatToStr(int mode, int precision, int digits, long double value) {
    if (mode < static_cast<int>(TNumberFormat::General) ||
        mode > static_cast<int>(TNumberFormat::UserPattern)) {
        return {};
    }
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (precision < 2) precision = 2;
    if (precision > 18) precision = 18;
    switch (static_cast<TNumberFormat>(mode)) {
        case TNumberFormat::Exponent:
            return WriteExponent(value, precision, digits);
        case TNumberFormat::Fixed:
            return WriteFixed(value, precision, digits);
        case TNumberFormat::Engineering:
            return WriteEngineering(value, precision, digits);
        case TNumberFormat::General:
        case TNumberFormat::UserPattern:
            break;
    }
    return WriteGeneral(Digits(value, precision), precision);
}

void RuvoFloatToStr(std::string& out, int mode, int precision, int digits, long double value) {
    const bool general = mode == static_cast<int>(TNumberFormat::General) ||
                         mode == static_cast<int>(TNumberFormat::UserPattern);
    if (!general || !std::isfinite(value)) {
        out = RuvoFloatToStr(mode, precision, digits, value);
        return;
    }
    precision = std::clamp(precision, 2, 18);
    char buffer[kGeneralMax];
    out.assign(buffer,
               static_cast<size_t>(WriteGeneralTo(buffer, Digits(value, precision), precision)));
}

void GeneralNumberText(std::string& out, long double value) {
    // The text of the value written last is kept: one calculated value is written as the
    // result text, as "ANS" and "_ANS", and as the value an assignment stores.
    struct TLast {
        long double value = 0;
        std::string text;  // empty until the first call
    };
    thread_local TLast last;
    if (last.text.empty() || !(value == last.value)) {
        RuvoFloatToStr(last.text, static_cast<int>(TNumberFormat::General), 15, 0, value);
        last.value = value;
    }
    out.assign(last.text);
}

std::string GeneralNumberText(long double value) {
    std::string text;
    GeneralNumberText(text, value);
    return text;
}

}  // namespace tallyon
