// The texts of the options dialog's samples: the four numbers written in a chosen number
// format, and the calculated line that shows the document font and colours.
#pragma once

#include <string>
#include <vector>

namespace tallyon {

// Index of the user-definition choice among the number formats (0 General, 1 Exponent,
// 2 Fixed, 3 Engineering, 4 the user pattern).
inline constexpr int kUserDefinitionFormat = 4;

// The number sample's lines: each label followed by its number in `format` (the modes of the
// number writer with `precision` and `digits`, or `pattern` for the user definition). A
// pattern the pattern operation refuses ends the sample before that line; a format outside
// 0 to 4 writes each number as empty text.
std::vector<std::string> NumberSampleLines(int format, int precision, int digits,
                                           const std::string& pattern);

// The calculated line of the font and colour samples: "2*PI ==> 6.28318530717959".
std::string SampleAnswerLine();
// The font sample's second line.
inline constexpr const char* kFontSampleSecondLine = "(-b+SQRT(b^2-4*a*c))/(2*a) ==> 3";

// Characters of SampleAnswerLine(): the expression, then the arrow, then the answer.
inline constexpr int kSampleExpressionLength = 4;  // "2*PI"
inline constexpr int kSampleArrowLength = 5;       // " ==> "

}  // namespace tallyon
