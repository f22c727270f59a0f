// Number text: reading numbers with exponents and unit suffixes, and writing them in the
// General, Exponent, Fixed and Engineering styles.
//
// Reading (RuvoStrToFloat) folds the text to upper case, splits off a decimal exponent
// ("1.5E-3"), and lets the unit-suffix table scale mantissa and exponent ("4.7K", "2.2U",
// "1MEG", "30DEG"). Writing (RuvoFloatToStr) turns the value into at most P exact significant
// digits, rounded half away from zero, and lays them out in the requested style.
// Everything here works in extended precision (long double, 80-bit on x86-64).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tallyon {

// The one conversion-error class: a number text that does not read. Its message is shown
// to the user as it stands.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a number text; raises EConvertError("RuvoStrToFloat: Not a number.") when the text
// is empty or does not start with "+", "-", "." or a digit, and EConvertError("'<part>' is
// not a valid floating point value") when a part is not a decimal literal. A value beyond
// the extended range raises EMathError (overflow).
long double RuvoStrToFloat(std::string_view text);

// The same reading, but reports false (value 0) instead of raising for the first-character
// test; the errors of the decimal conversion itself still raise.
bool TryRuvoStrToFloat(std::string_view text, long double& value);

// Reads a mantissa with an optional unit suffix (no exponent split); the suffix is searched
// in the table's start-up order, anywhere in the text, and what follows it is ignored.
long double ApplyUnitSuffix(std::string_view text);

// The layouts of RuvoFloatToStr by their stored number, the number format setting's value.
enum class TNumberFormat : int {
    General = 0,
    Exponent = 1,     // one digit, point, precision - 1 digits, "E", signed exponent
    Fixed = 2,        // a fixed count of digits after the point
    Engineering = 3,  // a mantissa with the unit suffix of its power of one thousand
    // The slot of the user's pattern, which the answer formatter lays out itself; here it
    // writes General.
    UserPattern = 4,
};

// Writes a value in the layout numbered `mode` (a TNumberFormat as stored); any other number
// yields the empty text. Precision is clamped to 2..18; digits is the exponent width
// (Exponent) or the digits after the point (Fixed).
std::string RuvoFloatToStr(int mode, int precision, int digits, long double value);
inline std::string RuvoFloatToStr(TNumberFormat format, int precision, int digits,
                                  long double value) {
    return RuvoFloatToStr(static_cast<int>(format), precision, digits, value);
}
// The same text written into `out`, whose storage is reused (for callers that write many).
void RuvoFloatToStr(std::string& out, int mode, int precision, int digits, long double value);

// A magnitude rounded to a count of significant digits: the digits (trailing zeros dropped,
// empty for zero) and the decimal exponent x such that the value is 0.d1d2... * 10^x.
struct TRoundedDigits {
    std::string Digits;
    int Exponent = 0;
};

// The exact decimal exponent x of |value| = 0.d1d2... * 10^x; 0 for zero.
int DecimalExponent(long double value);

// |value| rounded to `keep` significant digits (at most 19; 0 or less cuts at or above the
// first digit), half away from zero on the exact binary value. Every writer of numbers
// rounds through this one digit generator.
TRoundedDigits RoundSignificant(long double value, int keep);

// The general number text: General with precision 15 ("0.333333333333333", "1E-5", "1E20").
// Every number the system itself writes as text goes through this.
std::string GeneralNumberText(long double value);
// The same text written into `out`, whose storage is reused.
void GeneralNumberText(std::string& out, long double value);

}  // namespace tallyon
