// Answer formatting and the user pattern language.
//
// A pattern is cut into at most three sections (positive; negative; zero) at ";" outside
// quotes. The section chosen by the value's sign is scanned into tokens: digit placeholders
// ("0" always writes a digit, "#" only a significant one), the first "." (the decimal point),
// "," (turns on thousands separators, never written itself), an exponent marker ("E+", "E-",
// "e+", "e-" followed by up to four "0" for the minimum exponent width) and literal text.
//
// The value's magnitude is turned into decimal digits once and rounded half away from zero:
// to as many decimals as there are placeholders after the point (at most 18 significant
// digits), or with an exponent marker to as many significant digits as there are
// placeholders. A result that rounds to zero is written by the zero section. The tokens are
// then walked left to right; integer digits that have no placeholder of their own are written
// before the first placeholder.
#include "document/AnswerFormat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/RuvoSub.h"
#include "textfile/Utf8.h"

namespace tallyon {

namespace {

constexpr int kMaxSignificant = 18;    // digits a rounded value keeps
constexpr int kMaxIntegerDigits = 18;  // more integer digits fall back to general text
constexpr int kMaxExponentDigits = 4;

// A magnitude as decimal digits: Digits[0] is the digit of 10^Exponent. Zero has no digits.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
    // The digit of 10^position ('0' outside the digits).
    char DigitAt(int position) const {
        const int index = Exponent - position;
        return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[index] : '0';
    }
};

// The magnitude rounded to `keep` significant digits by the number writer's exact digit
// generator, half away from zero.
TDecimal RoundToDigits(long double magnitude, int keep) {
    const TRoundedDigits r = RoundSignificant(magnitude, keep);
    return {r.Digits, r.Exponent - 1};
}

// Splits the pattern at ";" outside quotes into at most three sections.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < pattern.size() && sections.size() < 3; ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    if (sections.size() < 3) sections.push_back(pattern.substr(start));
    return sections;
}

enum class TTokenKind { IntegerDigit, FractionDigit, Point, Literal, Exponent };

struct TToken {
    TTokenKind Kind;
    char Placeholder = 0;       // '0' or '#' for digits
    std::string Text;           // literal text, or the exponent letter
    bool ExponentSign = false;  // "E+": the exponent always carries a sign
    int ExponentDigits = 0;     // minimum exponent width
};

// One section scanned into tokens, with the counts that rounding and layout need.
struct TSection {
    std::vector<TToken> Tokens;
    int IntegerPlaceholders = 0;
    int FractionPlaceholders = 0;
    int MinIntegerDigits = 0;   // placeholders from the leftmost integer "0" to the point
    int MinFractionDigits = 0;  // placeholders up to the rightmost fraction "0"
    bool Thousands = false;
    bool Scientific = false;
};

TSection ScanSection(std::string_view text) {
    TSection s;
    bool afterPoint = false;
    int leftmostZero = -1;  // index among the integer placeholders
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = text.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            s.Tokens.push_back(
                {TTokenKind::Literal, 0, std::string(text.substr(i + 1, end - i - 1))});
            i = end;
        } else if (s.Scientific) {
            s.Tokens.push_back({TTokenKind::Literal, 0, std::string(1, c)});
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++s.FractionPlaceholders;
                if (c == '0') s.MinFractionDigits = s.FractionPlaceholders;
                s.Tokens.push_back({TTokenKind::FractionDigit, c, {}});
            } else {
                if (c == '0' && leftmostZero < 0) leftmostZero = s.IntegerPlaceholders;
                ++s.IntegerPlaceholders;
                s.Tokens.push_back({TTokenKind::IntegerDigit, c, {}});
            }
        } else if (c == '.') {
            if (!afterPoint) s.Tokens.push_back({TTokenKind::Point, 0, {}});
            afterPoint = true;
        } else if (c == ',') {
            s.Thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            TToken token{TTokenKind::Exponent, 0, std::string(1, c)};
            token.ExponentSign = text[i + 1] == '+';
            // Every "0" after the sign belongs to the exponent; at most four set its width.
            std::size_t end = i + 2;
            while (end < text.size() && text[end] == '0')
                ++end;
            token.ExponentDigits = std::min(static_cast<int>(end - i - 2), kMaxExponentDigits);
            i = end - 1;
            s.Tokens.push_back(token);
            s.Scientific = true;
        } else {
            s.Tokens.push_back({TTokenKind::Literal, 0, std::string(1, c)});
        }
    }
    if (leftmostZero >= 0) s.MinIntegerDigits = s.IntegerPlaceholders - leftmostZero;
    return s;
}

// Writes the rounded magnitude `d` by the section's tokens, with `exponent` as the written
// exponent; a minus sign goes first when `sign` is set.
std::string Layout(const TSection& s, const TDecimal& d, int exponent, bool sign) {
    // Integer digits: all of them (fixed) or one per placeholder (scientific), padded with
    // zeros to the leftmost "0".
    std::string integer;
    std::string fraction;
    if (s.Scientific) {
        for (int k = 0; k < s.IntegerPlaceholders; ++k)
            integer += d.DigitAt(d.Exponent - k);
        for (int k = 0; k < s.FractionPlaceholders; ++k)
            fraction += d.DigitAt(d.Exponent - s.IntegerPlaceholders - k);
        // Leading integer zeros stand only where "0" placeholders ask for them.
        std::size_t lead = 0;
        while (lead < integer.size() && integer[lead] == '0' &&
               static_cast<int>(integer.size() - lead) > s.MinIntegerDigits)
            ++lead;
        integer.erase(0, lead);
    } else {
        for (int p = d.IsZero() ? -1 : d.Exponent; p >= 0; --p)
            integer += d.DigitAt(p);
        for (int k = 1; k <= s.FractionPlaceholders; ++k)
            fraction += d.DigitAt(-k);
    }
    if (static_cast<int>(integer.size()) < s.MinIntegerDigits)
        integer.insert(0, s.MinIntegerDigits - integer.size(), '0');
    while (static_cast<int>(fraction.size()) > s.MinFractionDigits && fraction.back() == '0')
        fraction.pop_back();

    const int length = static_cast<int>(integer.size());
    const int unplaced = std::max(0, length - s.IntegerPlaceholders);
    std::string out = sign ? "-" : "";
    const auto writeInteger = [&](int j) {
        out += integer[j];
        if (s.Thousands && j < length - 1 && (length - 1 - j) % 3 == 0) out += ',';
    };
    bool leadWritten = false;
    const auto writeLead = [&] {
        if (leadWritten) return;
        leadWritten = true;
        for (int j = 0; j < unplaced; ++j)
            writeInteger(j);
    };
    int integerIndex = 0;
    int fractionIndex = 0;
    for (const TToken& token : s.Tokens) {
        switch (token.Kind) {
            case TTokenKind::IntegerDigit: {
                writeLead();
                const int j = integerIndex++ + length - s.IntegerPlaceholders;
                if (j >= 0) writeInteger(j);
                break;
            }
            case TTokenKind::Point:
                writeLead();
                if (!fraction.empty()) out += '.';
                break;
            case TTokenKind::FractionDigit:
                writeLead();
                if (fractionIndex < static_cast<int>(fraction.size()))
                    out += fraction[fractionIndex];
                ++fractionIndex;
                break;
            case TTokenKind::Literal:
                out += token.Text;
                break;
            case TTokenKind::Exponent: {
                out += token.Text;
                if (exponent < 0)
                    out += '-';
                else if (token.ExponentSign)
                    out += '+';
                std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
                if (static_cast<int>(digits.size()) < token.ExponentDigits)
                    digits.insert(0, token.ExponentDigits - digits.size(), '0');
                out += digits;
                break;
            }
        }
    }
    return out;
}

// Rounds the magnitude as the section asks; the exponent is the written one (scientific).
TDecimal RoundForSection(const TSection& s, long double magnitude, int& exponent) {
    exponent = 0;
    if (s.Scientific) {
        const int significant =
            std::clamp(s.IntegerPlaceholders + s.FractionPlaceholders, 1, kMaxSignificant);
        TDecimal r = RoundToDigits(magnitude, significant);
        if (!r.IsZero()) exponent = r.Exponent + 1 - s.IntegerPlaceholders;
        return r;
    }
    const int keep = std::min(DecimalExponent(magnitude) + s.FractionPlaceholders, kMaxSignificant);
    return RoundToDigits(magnitude, keep);
}

}  // namespace

std::string FormatByPattern(std::string_view pattern, long double value) {
    if (Utf8CharacterCount(pattern) > kMaxPatternLength)
        throw EFormatError("Format string too long");
    const std::vector<std::string_view> sections = SplitSections(pattern);
    if (sections[0].empty() || !std::isfinite(value)) return GeneralNumberText(value);

    const auto sectionOr1 = [&](std::size_t index) {
        return index < sections.size() && !sections[index].empty() ? sections[index] : sections[0];
    };
    const long double magnitude = std::fabs(value);
    const std::size_t chosen = value > 0 ? 0 : value < 0 ? 1 : 2;
    TSection section = ScanSection(sectionOr1(chosen));
    int exponent = 0;
    TDecimal rounded = RoundForSection(section, magnitude, exponent);
    if (!section.Scientific && !rounded.IsZero() && rounded.Exponent + 1 > kMaxIntegerDigits)
        return GeneralNumberText(value);
    // Only section 1 writing a negative value adds a sign; the sign leads even literal text.
    bool sign = value < 0 && (sections.size() < 2 || sections[1].empty());
    if (rounded.IsZero() && chosen != 2) {
        section = ScanSection(sectionOr1(2));
        rounded = {};
        exponent = 0;
        sign = false;
    }
    return Layout(section, rounded, exponent, sign);
}

std::string FormatAnswer(double value, const TSettingsRecord& settings) {
    const long double wide = value;
    switch (static_cast<TNumberFormat>(settings.OptNumFormat)) {
        case TNumberFormat::Exponent:
        case TNumberFormat::Fixed:
        case TNumberFormat::Engineering:
            return RuvoFloatToStr(settings.OptNumFormat, settings.OptPrecision, settings.OptDigits,
                                  wide);
        case TNumberFormat::UserPattern:
            return FormatByPattern(settings.OptNumFormatStr, wide);
        default:
            return RuvoFloatToStr(TNumberFormat::General, settings.OptPrecision, settings.OptDigits,
                                  wide);
    }
}

void FormatAnswer(std::string& out, double value, const TSettingsRecord& settings) {
    switch (static_cast<TNumberFormat>(settings.OptNumFormat)) {
        case TNumberFormat::Exponent:
        case TNumberFormat::Fixed:
        case TNumberFormat::Engineering:
        case TNumberFormat::UserPattern:
            out = FormatAnswer(value, settings);
            return;
        default:
            RuvoFloatToStr(out, static_cast<int>(TNumberFormat::General), settings.OptPrecision,
                           settings.OptDigits, value);
    }
}

}  // namespace tallyon
