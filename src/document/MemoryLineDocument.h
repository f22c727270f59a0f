// A line document held in memory, used by the command-line calculator and the tests. The
// text "a\nb\n" is held as the lines {"a", "b", ""}; the uncounted empty last line is the
// last one.
//
// The text as read stays in one block and each line is a span of it; a rewritten line is
// appended to a second block. Reading a long document then costs no allocation per line,
// and the lines' bytes lie in the order they are calculated and written.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/CalcDocument.h"

namespace tallyon {

class TMemoryLineDocument : public TLineDocument {
public:
    TMemoryLineDocument();
    // Takes the text lines as SplitTextLines gives them; an empty vector is an empty text.
    explicit TMemoryLineDocument(const std::vector<std::string>& lines);
    // Takes a whole text and splits it at each CR LF, LF and lone CR, as SplitTextLines does.
    static TMemoryLineDocument FromText(std::string text);

    int LineCount() const override;
    std::string Line(int n) const override;
    void ReadLine(int n, std::string& text) const override;
    void ReplaceLine(int n, std::string_view text) override;
    void ReplaceAnsweredLine(int n, std::string_view text) override { ReplaceLine(n, text); }
    void AppendEmptyLine() override;
    int CaretLine() const override { return caretLine_; }
    int CaretColumn() const override { return caretColumn_; }
    void SetCaret(int n, int column) override;

    // All text lines, the uncounted empty last line included, for saving: their number, one
    // of them (valid until the next change), and copies of all.
    int TextLineCount() const { return static_cast<int>(spans_.size()); }
    std::string_view TextLine(int n) const;
    std::vector<std::string> TextLines() const;
    // The text lines joined by CR LF, as a document is saved.
    std::string Text() const;

    // For a document calculated once from the top, as the command-line calculator runs it:
    // from now on every line the caret moves past is handed to `sink`, in order, and then
    // forgotten (it reads as empty). The document is then written while it is calculated,
    // and the storage of rewritten lines is used again and again instead of growing.
    void HandOnPassedLines(std::function<void(std::string_view line)> sink);
    // Hands on every line not handed on yet, the uncounted empty last line included.
    void HandOnRest();

private:
    // A line's bytes: `length` of them at `offset` in rewritten_ when `rewritten`, else in
    // read_.
    struct TSpan {
        std::size_t offset : 63;
        std::size_t rewritten : 1;
        std::size_t length;
    };
    void Compact();
    // Hands on the lines before `end` not handed on yet, and forgets them.
    void HandOnBefore(int end);

    std::string read_;          // the text as read
    std::string rewritten_;     // the texts of rewritten lines, each appended
    std::size_t live_ = 0;      // bytes of rewritten_ that some line still uses
    std::vector<TSpan> spans_;  // never empty: an empty text is one empty line
    int caretLine_ = 0;
    int caretColumn_ = 0;
    std::function<void(std::string_view line)> sink_;  // see HandOnPassedLines
    int handedOn_ = 0;                                 // lines handed on so far
};

}  // namespace tallyon
