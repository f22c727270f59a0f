// The line document over the editor's text blocks.
#include "document/editor/EditorLineDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "document/LineModel.h"
#include "document/editor/DocumentEditor.h"

#include <algorithm>

namespace tallyon {

namespace {

// UTF-8 length of the character starting at text[i]; `units` receives its UTF-16 length.
int utf8Length(const QString& text, int i, int& units) {
    const char16_t c = text.at(i).unicode();
    units = 1;
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        units = 2;
        return 4;
    }
    return 3;
}

}  // namespace

int Utf16OffsetOfByteColumn(const QString& text, int column) {
    int bytes = 0;
    int i = 0;
    while (i < text.size()) {
        int units = 0;
        const int length = utf8Length(text, i, units);
        if (bytes + length > column) break;
        bytes += length;
        i += units;
    }
    return i;
}

int ByteColumnOfUtf16Offset(const QString& text, int offset) {
    int bytes = 0;
    int i = 0;
    while (i < text.size() && i < offset) {
        int units = 0;
        bytes += utf8Length(text, i, units);
        i += units;
    }
    return bytes;
}

int TEditorLineDocument::LineCount() const {
    if (batches_ == 0) return editor_.lineCount();
    const int blocks = editor_.document()->blockCount();
    if (lineCount_ < 0 || lineCountBlocks_ != blocks) {
        lineCount_ = editor_.lineCount();
        lineCountBlocks_ = blocks;
    }
    return lineCount_;
}

// A command visits lines in order; finding a block by its number searches the document.
QTextBlock TEditorLineDocument::blockAt(int n) const {
    const int count = editor_.document()->blockCount();
    if (batches_ > 0 && recent_.isValid() && recentCount_ == count) {
        if (n == recentNumber_) return recent_;
        if (n == recentNumber_ + 1) {
            recent_ = recent_.next();
            recentNumber_ = n;
            return recent_;
        }
    }
    const QTextBlock block = editor_.document()->findBlockByNumber(n);
    if (batches_ > 0) {
        recent_ = block;
        recentNumber_ = n;
        recentCount_ = count;
    }
    return block;
}

std::string TEditorLineDocument::Line(int n) const {
    std::string text;
    ReadLine(n, text);
    return text;
}

// During a batch the line is taken from the batch's copy of the text where it can be, else
// read fragment by fragment, so that one walk gives its text and the formats its rewrite
// will check. The UTF-8 text read is kept too: a rewrite with the very same bytes is known
// to change nothing without converting and comparing the line again.
void TEditorLineDocument::ReadLine(int n, std::string& text) const {
    const QTextBlock block = blockAt(n);
    if (!block.isValid()) {
        text.clear();
        return;
    }
    if (batches_ == 0) {
        text = block.text().toStdString();
        return;
    }
    readLine_ = n;
    if (readFromSnapshot(n)) {
        readRunsKnown_ = false;
    } else {
        readText_.resize(0);
        readRuns_.clear();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            readText_ += fragment.text();
            readRuns_.push_back({fragment.length(), fragment.charFormatIndex()});
        }
        readRunsKnown_ = true;
    }
    readUtf8_ = readText_.toStdString();
    text.assign(readUtf8_);
}

// A command that rewrites every line (the undo history off) reads the lines in order, each
// before it is written. The whole text is copied once, at its first read, and a line not
// written since is taken from that copy: no search of the document's fragments, no string
// per fragment. A line at or before the last one written, or any change of the block count
// other than the lines appended here, and the document is read instead.
bool TEditorLineDocument::readFromSnapshot(int n) const {
    if (editor_.document()->isUndoRedoEnabled()) return false;
    if (!snapshotTaken_) {
        snapshot_ = editor_.document()->toRawText();
        snapshotTaken_ = true;
        snapshotBlocks_ = editor_.document()->blockCount();
        snapshotLine_ = 0;
        snapshotOffset_ = 0;
    }
    if (n <= lastWritten_ || n < snapshotLine_ ||
        editor_.document()->blockCount() != snapshotBlocks_ + appended_) {
        return false;
    }
    const QStringView all(snapshot_);
    for (; snapshotLine_ < n; ++snapshotLine_) {
        const qsizetype end = all.indexOf(QChar::ParagraphSeparator, snapshotOffset_);
        if (end < 0) return false;
        snapshotOffset_ = end + 1;
    }
    if (snapshotOffset_ > all.size()) return false;
    qsizetype end = all.indexOf(QChar::ParagraphSeparator, snapshotOffset_);
    if (end < 0) end = all.size();
    readText_ = all.sliced(snapshotOffset_, end - snapshotOffset_).toString();
    return true;
}

QString TEditorLineDocument::textOf(int n, const QTextBlock& block) const {
    if (batches_ > 0 && readLine_ == n && block.length() - 1 == readText_.size()) {
        return readText_;
    }
    return block.text();
}

// With the undo history on, a line is replaced whole, so that Undo takes back exactly the
// line's old text. With it off (a command that rewrites every line), only the characters
// that differ are replaced and only formats that differ are set: a recalculation that gives
// the same answers then costs no edit of the text at all.
void TEditorLineDocument::ReplaceLine(int n, std::string_view text) {
    QTextBlock block = blockAt(n);
    if (!block.isValid()) return;
    TDocumentEditor::BusyHold hold(editor_);
    noteWritten(n);
    if (block.userState() != -1) block.setUserState(-1);  // a plain line carries no mark
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (editor_.document()->isUndoRedoEnabled()) {
        placeCaret();
        lineCount_ = -1;
        readLine_ = -1;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line, TDocumentEditor::plainFormat());
        return;
    }
    rewriteChanged(block, textOf(n, block), line, static_cast<int>(line.size()));
}

void TEditorLineDocument::ReplaceAnsweredLine(int n, std::string_view text) {
    TDocumentEditor::BusyHold hold(editor_);
    if (editor_.document()->isUndoRedoEnabled()) {
        ReplaceLine(n, text);
        editor_.ColourAnswer(n, true);
        return;
    }
    const QTextBlock block = blockAt(n);
    if (!block.isValid()) return;
    // The line written back exactly as it was read (a recalculation giving the same answer)
    // needs no edit; only its formats are checked.
    noteWritten(n);
    const int mark = editor_.answeredMark();
    if (readLine_ == n && text == readUtf8_ && block.length() - 1 == readText_.size()) {
        const auto range = FindAnswerIn(readText_);
        if (range) {
            // Rewriting a line counts as a change even where the text stays the same.
            if (!editor_.document()->isModified()) editor_.document()->setModified(true);
            if (block.userState() == mark) return;
            if (!readRunsKnown_ || !editor_.hasAnsweredFormats(readRuns_, *range))
                editor_.FormatAnsweredLine(block, *range);
            QTextBlock(block).setUserState(mark);
            return;
        }
    }
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const auto range = FindAnswerIn(line);
    if (!range) {
        rewriteChanged(block, textOf(n, block), line, static_cast<int>(line.size()));
        return;
    }
    rewriteChanged(block, textOf(n, block), line, -1, &*range);
    // A line left as it was read needs no walk of its fragments when the formats read with
    // it are known to be the answered line's.
    if (readLine_ == n && readRunsKnown_ && editor_.hasAnsweredFormats(readRuns_, *range)) {
        if (!editor_.document()->isModified()) editor_.document()->setModified(true);
    } else {
        editor_.FormatAnsweredLine(block, *range);
    }
    QTextBlock(block).setUserState(mark);
}

void TEditorLineDocument::rewriteChanged(const QTextBlock& block, const QString& old,
                                         const QString& line, int plainEnd,
                                         const TAnswerRange* range) {
    const qsizetype common = std::min(old.size(), line.size());
    qsizetype head = 0;
    while (head < common && old[head] == line[head])
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && old[old.size() - 1 - tail] == line[line.size() - 1 - tail])
        ++tail;
    if (head + tail < old.size() || head + tail < line.size()) {
        placeCaret();
        lineCount_ = -1;
        readLine_ = -1;
        const int b = block.position();
        QTextCursor cursor(editor_.document());
        cursor.setPosition(b + static_cast<int>(head));
        cursor.setPosition(b + static_cast<int>(old.size() - tail), QTextCursor::KeepAnchor);
        if (range) {
            editor_.insertAnswered(cursor, line, static_cast<int>(head),
                                   static_cast<int>(line.size() - tail), *range);
        } else {
            cursor.insertText(line.mid(head, line.size() - head - tail),
                              TDocumentEditor::plainFormat());
        }
    } else if (!editor_.document()->isModified()) {
        // Rewriting a line counts as a change even where the text stays the same.
        editor_.document()->setModified(true);
    }
    if (plainEnd >= 0) editor_.setPlainWhereDifferent(block, plainEnd);
}
void TEditorLineDocument::AppendEmptyLine() {
    TDocumentEditor::BusyHold hold(editor_);
    placeCaret();
    lineCount_ = -1;
    readLine_ = -1;
    caretLine_ = -1;  // a caret at the end moves onto the new line
    QTextCursor cursor(editor_.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(cursor.blockFormat(), TDocumentEditor::plainFormat());
    ++appended_;
    // Which of the two blocks keeps the old one's state is Qt's business: neither is marked.
    cursor.block().setUserState(-1);
    cursor.block().previous().setUserState(-1);
}

void TEditorLineDocument::noteWritten(int n) {
    if (n > lastWritten_) lastWritten_ = n;
}

QTextCursor TEditorLineDocument::caret() const {
    placeCaret();
    return batches_ > 0 ? caret_ : editor_.textCursor();
}

void TEditorLineDocument::placeCaret() const {
    if (!caretPending_) return;
    caretPending_ = false;
    caret_ = QTextCursor(blockAt(caretLine_));
}

TEditorLineDocument::Batch::Batch(TEditorLineDocument& document)
    : document_(document), group_(document.editor_.document()) {
    if (document_.batches_++ == 0) {
        document_.caret_ = document_.editor_.textCursor();
        document_.recent_ = QTextBlock();
        document_.caretLine_ = -1;
        document_.caretPending_ = false;
        document_.lineCount_ = -1;
        document_.readLine_ = -1;
        document_.editor_.forgetFormatIndexes();
        document_.snapshotTaken_ = false;
        document_.snapshot_.clear();
        document_.lastWritten_ = -1;
        document_.appended_ = 0;
    }
    group_.beginEditBlock();
}

TEditorLineDocument::Batch::~Batch() {
    // The batch's changes are reported here; its marks are right already.
    document_.editor_.setBatchEnding(document_.batches_ == 1);
    group_.endEditBlock();
    document_.editor_.setBatchEnding(false);
    if (--document_.batches_ == 0) {
        document_.snapshot_ = QString();
        document_.placeCaret();
        document_.editor_.setTextCursor(document_.caret_);
        document_.editor_.ensureCursorVisible();
    }
}

int TEditorLineDocument::CaretLine() const {
    if (batches_ > 0 && caretLine_ >= 0 && caretCount_ == editor_.document()->blockCount())
        return caretLine_;
    const int start = caret().selectionStart();
    return editor_.document()->findBlock(start).blockNumber();
}

int TEditorLineDocument::CaretColumn() const {
    const int start = caret().selectionStart();
    const QTextBlock block = editor_.document()->findBlock(start);
    return ByteColumnOfUtf16Offset(block.text(), start - block.position());
}

void TEditorLineDocument::SetCaret(int n, int column) {
    QTextBlock block = blockAt(n);
    caretLine_ = block.isValid() ? n : -1;
    caretCount_ = editor_.document()->blockCount();
    caretPending_ = batches_ > 0 && block.isValid() && column <= 0;
    if (caretPending_) return;
    if (!block.isValid()) block = editor_.document()->lastBlock();
    QTextCursor cursor(block);
    if (column > 0)
        cursor.setPosition(block.position() + Utf16OffsetOfByteColumn(block.text(), column));
    if (batches_ > 0)
        caret_ = cursor;
    else
        editor_.setTextCursor(cursor);
}

}  // namespace tallyon
