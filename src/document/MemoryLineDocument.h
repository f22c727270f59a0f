// A line document held in memory: the text as a vector of its lines, used by the
// command-line calculator and the tests. The text "a\nb\n" is held as {"a", "b", ""}; the
// uncounted empty last line is the last element.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/CalcDocument.h"

namespace tallyon {

class TMemoryLineDocument : public TLineDocument {
public:
    TMemoryLineDocument() : lines_(1) {}
    // Takes the text lines as SplitTextLines gives them; an empty vector is an empty text.
    explicit TMemoryLineDocument(std::vector<std::string> lines);

    int LineCount() const override;
    std::string Line(int n) const override;
    void ReadLine(int n, std::string& text) const override;
    void ReplaceLine(int n, std::string_view text) override;
    void ReplaceAnsweredLine(int n, std::string_view text) override { ReplaceLine(n, text); }
    void AppendEmptyLine() override;
    int CaretLine() const override { return caretLine_; }
    int CaretColumn() const override { return caretColumn_; }
    void SetCaret(int n, int column) override;

    // All text lines, the uncounted empty last line included, for saving.
    const std::vector<std::string>& TextLines() const { return lines_; }

private:
    std::vector<std::string> lines_;  // never empty: an empty text is one empty line
    int caretLine_ = 0;
    int caretColumn_ = 0;
};

}  // namespace tallyon
