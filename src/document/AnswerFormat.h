// Answer formatting: the one operation that turns a result into the text written behind the
// arrow, from the number-format settings. Formats 0 to 3 are the modes of the number
// formatter (General, Exponent, Fixed, Engineering); format 4 is a user pattern such as
// "#,##0.000;-#,##0.000;0.000", whose language `FormatByPattern` implements.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/SettingsRecord.h"

namespace tallyon {

// Raised by the pattern operation for a pattern it refuses ("Format string too long").
class EFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Longest pattern the pattern operation accepts, in characters (not bytes, so a pattern with
// Japanese literals gets as many characters as one in ASCII).
inline constexpr std::size_t kMaxPatternLength = 224;

// The answer text of `value` in the settings' number format (`OptNumFormat`, `OptPrecision`,
// `OptDigits`, `OptNumFormatStr`). May raise EFormatError for format 4.
std::string FormatAnswer(double value, const TSettingsRecord& settings);
// The same text written into `out`, whose storage is reused.
void FormatAnswer(std::string& out, double value, const TSettingsRecord& settings);

// Formats `value` by a user pattern: up to three sections (positive; negative; zero) split at
// ";" outside quotes, digit placeholders "0" and "#", "." and ",", scientific "E+" "E-" "e+"
// "e-" with up to four exponent digits, quoted literals. An empty first section, an infinite
// or undefined value, and (without scientific notation) 19 or more integer digits give the
// general number text. Raises EFormatError("Format string too long") for a pattern of more
// than kMaxPatternLength characters.
std::string FormatByPattern(std::string_view pattern, long double value);

}  // namespace tallyon
