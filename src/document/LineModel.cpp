// Line model: finding the arrow, stripping the answer and cutting out the expression.
#include "document/LineModel.h"

#include "engine/AsciiText.h"

namespace tallyon {

namespace {

// The first " ==> " of the line, else the first " >>> ", as `StripAnswer` looks for them.
template <typename Char>
std::optional<TAnswerRange> FindArrowIn(std::basic_string_view<Char> line) {
    const auto find = [&](std::string_view arrow) {
        Char wide[kArrowLength];
        for (std::size_t i = 0; i < kArrowLength; ++i)
            wide[i] = static_cast<Char>(arrow[i]);
        return line.find(std::basic_string_view<Char>(wide, kArrowLength));
    };
    TAnswerRange range;
    range.LineLength = line.size();
    std::size_t p = find(kNormalArrow);
    if (p == std::basic_string_view<Char>::npos) {
        p = find(kErrorArrow);
        if (p == std::basic_string_view<Char>::npos) return std::nullopt;
        range.ErrorArrow = true;
    }
    range.Arrow = p;
    return range;
}

}  // namespace

std::optional<TAnswerRange> FindAnswer(std::string_view line) {
    return FindArrowIn(line);
}

std::optional<TAnswerRange> FindAnswer(std::u16string_view line) {
    return FindArrowIn(line);
}

std::string_view AnswerBody(std::string_view line) {
    if (const auto range = FindAnswer(line)) line = line.substr(0, range->Arrow);
    return TrimBlanks(line);
}

std::string StripAnswer(std::string_view line) {
    return std::string(AnswerBody(line));
}

TSplitExpression SplitExpression(std::string_view body) {
    TSplitExpression split;
    std::string_view t = TrimBlanks(body.substr(0, body.find(kCommentMark)));
    if (const std::size_t mark = t.find(kSilentMark); mark != std::string_view::npos) {
        split.Silent = true;
        t = TrimBlanks(t.substr(0, mark));
    }
    split.Expression = t;
    return split;
}

std::string ComposeAnswerLine(std::string_view body, bool error, std::string_view answer) {
    std::string line;
    ComposeAnswerLine(line, body, error, answer);
    return line;
}

void ComposeAnswerLine(std::string& line, std::string_view body, bool error,
                       std::string_view answer) {
    line.clear();
    line.reserve(body.size() + kArrowLength + answer.size() + 1);
    line += body;
    line += error ? kErrorArrow : kNormalArrow;
    line += answer;
    line += ' ';
}

}  // namespace tallyon
