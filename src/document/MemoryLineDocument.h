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
    TMemoryLineDocument() : Lines_(1) {}
    // Takes the text lines as SplitTextLines gives them; an empty vector is an empty text.
    explicit TMemoryLineDocument(std::vector<std::string> lines);

    int LineCount() const override;
    std::string Line(int n) const override;
    void ReplaceLine(int n, std::string_view text) override;
    void ReplaceAnsweredLine(int n, std::string_view text) override { ReplaceLine(n, text); }
    void AppendEmptyLine() override;
    int CaretLine() const override { return CaretLine_; }
    int CaretColumn() const override { return CaretColumn_; }
    void SetCaret(int n, int column) override;

    // All text lines, the uncounted empty last line included, for saving.
    const std::vector<std::string>& TextLines() const { return Lines_; }

private:
    std::vector<std::string> Lines_;  // never empty: an empty text is one empty line
    int CaretLine_ = 0;
    int CaretColumn_ = 0;
};

}  // namespace tallyon
