// The syntax of a calculated line: line body, arrow, answer, one blank ("2*3 ; area ==> 6 ").
//
// The normal arrow " ==> " marks an answer that is the expression's value; the error arrow
// " >>> " one written after the engine reported an error. The normal arrow is searched first
// in the whole line, so "a >>> b ==> c" has the body "a >>> b". Within the body, the first ";"
// starts a comment and the first "$" before it makes the line silent.
//
// These functions are the one place that knows where an answer starts: the calculation uses
// them to strip and split lines, and the editor uses `FindAnswer` to colour and protect
// exactly the arrow and answer that the calculation wrote.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tallyon {

inline constexpr std::string_view kNormalArrow = " ==> ";
inline constexpr std::string_view kErrorArrow = " >>> ";
inline constexpr std::size_t kArrowLength = 5;  // both arrows
inline constexpr char kCommentMark = ';';
inline constexpr char kSilentMark = '$';

// The line without its answer: cut before the first " ==> " (or, when there is none, the first
// " >>> "), then trimmed of leading and trailing characters with codes 0 to 32.
std::string StripAnswer(std::string_view line);
// The same body as a part of `line`, for callers that keep the line's text alive.
std::string_view AnswerBody(std::string_view line);

struct TSplitExpression {
    std::string_view Expression;  // what the engine evaluates, a part of the body; may be empty
    bool Silent = false;          // the line had a "$" before its comment
};

// The expression text of a line body: cut at the first ";", trimmed; then cut at the first "$"
// (which sets Silent) and trimmed again. The expression views `body`'s text.
TSplitExpression SplitExpression(std::string_view body);

// Where the arrow and answer of a line stand, in the units of the text given (bytes for
// UTF-8, code units for UTF-16). The answer runs from Answer() to the end of the line and
// includes its trailing blank.
struct TAnswerRange {
    std::size_t Arrow = 0;       // offset of the arrow's first blank
    std::size_t LineLength = 0;  // length of the whole line
    bool ErrorArrow = false;     // the arrow is " >>> "

    std::size_t Answer() const { return Arrow + kArrowLength; }
    std::size_t AnswerLength() const { return LineLength - Answer(); }
};

// The arrow and answer of a line, found as `StripAnswer` finds them; nullopt for a line
// without an arrow. Both arrows are ASCII, so the UTF-16 form finds the same arrow as the
// UTF-8 form of the same line, counted in UTF-16 code units.
std::optional<TAnswerRange> FindAnswer(std::string_view line);
std::optional<TAnswerRange> FindAnswer(std::u16string_view line);

// The line as the calculation writes it: body, arrow (error arrow when `error`), answer and
// one blank.
std::string ComposeAnswerLine(std::string_view body, bool error, std::string_view answer);
// The same line written into `line` (its storage reused); body and answer must not view it.
void ComposeAnswerLine(std::string& line, std::string_view body, bool error,
                       std::string_view answer);

}  // namespace tallyon
