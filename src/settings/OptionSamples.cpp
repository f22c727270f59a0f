// The options dialog's sample texts (see OptionSamples.h).
#include "settings/OptionSamples.h"

#include "document/AnswerFormat.h"
#include "engine/RuvoSub.h"

namespace tallyon {

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

struct SampleNumber {
    const char* label;
    long double value;
};
constexpr SampleNumber kSampleNumbers[] = {
    {"_PI := ", kPi},
    {"123456 = ", 123456.0L},
    {"0.0012 = ", 0.0012L},
    {"-987654.321 = ", -987654.321L},
};

}  // namespace

std::vector<std::string> NumberSampleLines(int format, int precision, int digits,
                                           const std::string& pattern) {
    std::vector<std::string> lines;
    for (const SampleNumber& number : kSampleNumbers) {
        std::string text;
        if (format == kUserDefinitionFormat) {
            try {
                text = FormatByPattern(pattern, number.value);
            } catch (const EFormatError&) {
                break;
            }
        } else {
            text = RuvoFloatToStr(format, precision, digits, number.value);
        }
        lines.push_back(number.label + text);
    }
    return lines;
}

std::string SampleAnswerLine() {
    return "2*PI ==> " + GeneralNumberText(2 * kPi);
}

}  // namespace tallyon
