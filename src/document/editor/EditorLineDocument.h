// The calculation's view of the document editor: lines are the editor's text blocks, and
// columns count bytes of the line's UTF-8 text as the calculation core expects, converted to
// and from the editor's UTF-16 positions here. Every change is made under the busy mark; a
// replaced line is plain expression text, and a line written with an answer has its arrow
// and answer coloured and protected at once.
#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextCursor>

#include "document/CalcDocument.h"
#include "document/LineModel.h"
#include "document/editor/DocumentEditor.h"

namespace tallyon {

class TEditorLineDocument final : public TLineDocument {
public:
    explicit TEditorLineDocument(TDocumentEditor& editor) : editor_(editor) {}

    int LineCount() const override;
    std::string Line(int n) const override;
    void ReadLine(int n, std::string& text) const override;
    void ReplaceLine(int n, std::string_view text) override;
    void ReplaceAnsweredLine(int n, std::string_view text) override;
    void AppendEmptyLine() override;
    int CaretLine() const override;
    int CaretColumn() const override;
    void SetCaret(int n, int column) override;

    // Groups the changes of one command: one step for Undo, the editor's layout and
    // signals deferred to the end, and the caret kept here and handed to the editor once,
    // so that a command over many lines does not lay out and scroll after every line.
    class Batch {
    public:
        explicit Batch(TEditorLineDocument& document);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        TEditorLineDocument& document_;
        QTextCursor group_;
    };

private:
    QTextCursor caret() const;
    // The block of line `n`; during a batch, the block last found or the one after it is
    // taken without a search while the document's block count stays the same.
    QTextBlock blockAt(int n) const;
    // Replaces what differs between `block`'s text `old` and `line`, and gives the characters
    // up to `plainEnd` (unless negative) the plain format where they lack it. With `range`,
    // `line` has its answer there and the replacement is written in the answered line's
    // formats; otherwise it is plain.
    void rewriteChanged(const QTextBlock& block, const QString& old, const QString& line,
                        int plainEnd, const TAnswerRange* range = nullptr);
    // The text of line `n` (its block given). During a batch, a command reads a line and then
    // writes it from what it read, so the text last read is taken again instead of out of
    // the document; any edit made here forgets it, and so does a line whose length no
    // longer matches it.
    QString textOf(int n, const QTextBlock& block) const;

    TDocumentEditor& editor_;
    int batches_ = 0;            // open batches; the caret lives in caret_ while non-zero
    mutable QTextCursor caret_;  // the caret during a batch
    mutable QTextBlock recent_;  // the block last found during the batch
    mutable int recentNumber_ = -1;
    mutable int recentCount_ = -1;  // the document's block count when it was found
    // The caret's line as last set during the batch (-1 unknown), and the block count then:
    // the line's own rewrites never move the caret off it.
    int caretLine_ = -1;
    int caretCount_ = -1;
    // During a batch, a caret set to the start of a line is kept as the line alone and made a
    // cursor only when something reads it or text is about to change: a command that moves
    // the caret over every line then builds no cursor per line.
    void placeCaret() const;
    mutable bool caretPending_ = false;
    // The line count during the batch (-1 unknown), and the block count then; any change of
    // text forgets it.
    mutable int lineCount_ = -1;
    mutable int lineCountBlocks_ = -1;
    // The line last read during the batch (-1 none), its text, its runs of formats and its
    // text in UTF-8.
    mutable QString readText_;
    mutable std::vector<TDocumentEditor::FormatRun> readRuns_;
    mutable std::string readUtf8_;
    mutable bool readRunsKnown_ = false;  // readRuns_ describe the line read (else unknown)
    // The whole text as the batch's first read found it, and where its next line starts.
    bool readFromSnapshot(int n) const;
    mutable QString snapshot_;
    mutable bool snapshotTaken_ = false;
    mutable int snapshotBlocks_ = 0;  // the block count then
    mutable int snapshotLine_ = 0;
    mutable qsizetype snapshotOffset_ = 0;
    // The last line written during the batch (-1 none), and the lines appended.
    void noteWritten(int n);
    int lastWritten_ = -1;
    int appended_ = 0;
    mutable int readLine_ = -1;
};

// Converts between a UTF-8 byte column and a UTF-16 offset of the same text. A byte column
// inside a character counts as the start of that character.
int Utf16OffsetOfByteColumn(const QString& text, int column);
int ByteColumnOfUtf16Offset(const QString& text, int offset);

}  // namespace tallyon
