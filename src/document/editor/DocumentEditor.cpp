// The document editor: input paths, protection tracking and answer colouring.
#include "document/editor/DocumentEditor.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

#include "document/LineModel.h"
#include "document/editor/Colours.h"

namespace tallyon {

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (!data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

bool isReturn(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A key that only types its text: printable text and no Ctrl, Alt or Meta held.
bool typesText(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = e->text();
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 && c != '\t') return false;
    return text.at(0).unicode() != 0x7F;
}

}  // namespace

TDocumentEditor::TDocumentEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName("REdit1");
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    connect(document(), &QTextDocument::contentsChange, this, &TDocumentEditor::contentsChanged);
    connect(document(), &QTextDocument::modificationChanged, this,
            &TDocumentEditor::modificationChanged);
    setColours(colours_);
    saved_ = fingerprint();
}

void TDocumentEditor::setColours(const DocumentColours& colours) {
    colours_ = colours;
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, ToQColor(colours.back));
        p.setColor(group, QPalette::Text, ToQColor(colours.expression));
    }
    setPalette(p);
}

QTextCharFormat TDocumentEditor::plainFormat() {
    QTextCharFormat format;
    format.setProperty(ProtectedProperty, false);
    return format;
}

QTextCharFormat TDocumentEditor::arrowFormat(bool protect) const {
    QTextCharFormat format;
    format.setForeground(ToQColor(colours_.arrow));
    format.setProperty(ProtectedProperty, protect);
    return format;
}

QTextCharFormat TDocumentEditor::answerFormat(bool protect) const {
    QTextCharFormat format;
    format.setForeground(ToQColor(colours_.answer));
    format.setFontWeight(QFont::Bold);
    format.setProperty(ProtectedProperty, protect);
    return format;
}

// The colour is resolved on every use, as a system colour follows the palette; the format
// is built again only when it changes.
QTextCharFormat& TDocumentEditor::KeptFormat::get(const QColor& colour, bool protect,
                                                  const std::function<QTextCharFormat()>& build) {
    if (!built_ || colour != colour_ || protect != protect_) {
        format_ = build();
        index = -1;
        ++builds;
        colour_ = colour;
        protect_ = protect;
        built_ = true;
    }
    return format_;
}

// ---- colouring -------------------------------------------------------------------------

std::optional<TAnswerRange> FindAnswerIn(const QString& line) {
    return FindAnswer(
        std::u16string_view(reinterpret_cast<const char16_t*>(line.utf16()), line.size()));
}

QTextCharFormat& TDocumentEditor::keptArrow(bool protect) {
    return arrowKept_.get(ToQColor(colours_.arrow), protect, [&] { return arrowFormat(protect); });
}

QTextCharFormat& TDocumentEditor::keptAnswer(bool protect) {
    return answerKept_.get(ToQColor(colours_.answer), protect,
                           [&] { return answerFormat(protect); });
}

void TDocumentEditor::ColourAnswer(int line, bool protect) {
    ColourAnswer(document()->findBlockByNumber(line), protect);
}

void TDocumentEditor::ColourAnswer(const QTextBlock& block, bool protect) {
    if (!block.isValid()) return;
    const auto range = FindAnswerIn(block.text());
    if (range) ColourAnswer(block, *range, protect);
}

void TDocumentEditor::ColourAnswer(const QTextBlock& block, const TAnswerRange& range,
                                   bool protect) {
    BusyHold hold(*this);
    QTextCharFormat& arrow = keptArrow(protect);
    setFormatWhereDifferent(block, static_cast<int>(range.Arrow),
                            static_cast<int>(range.Answer()), arrow);
    QTextCharFormat& answer = keptAnswer(protect);
    setFormatWhereDifferent(block, static_cast<int>(range.Answer()),
                            static_cast<int>(range.LineLength), answer);
}

// One walk over the line's fragments decides for all three spans at once.
void TDocumentEditor::FormatAnsweredLine(const QTextBlock& block, const TAnswerRange& range) {
    if (!block.isValid()) return;
    BusyHold hold(*this);
    QTextCharFormat& arrow = keptArrow(true);
    QTextCharFormat& answer = keptAnswer(true);
    if (!document()->isUndoRedoEnabled() &&
        block.length() - 1 == static_cast<int>(range.LineLength)) {
        struct Span {
            int start;
            int end;
            QTextCharFormat* format;
            int* index;
        };
        const Span spans[] = {
            {0, static_cast<int>(range.Arrow), &plain_, &plainIndex_},
            {static_cast<int>(range.Arrow), static_cast<int>(range.Answer()), &arrow,
             &arrowKept_.index},
            {static_cast<int>(range.Answer()), static_cast<int>(range.LineLength), &answer,
             &answerKept_.index},
        };
        bool same = true;
        int from = 0;
        for (auto it = block.begin(); same && !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int to = from + fragment.length();
            const QTextCharFormat own = fragment.charFormat();
            for (const Span& span : spans) {
                if (span.start >= to || from >= span.end) continue;
                if (own != *span.format) {
                    same = false;
                    break;
                }
                *span.format = own;
                *span.index = fragment.charFormatIndex();
            }
            from = to;
        }
        if (same) {
            if (!document()->isModified()) document()->setModified(true);
            return;
        }
    }
    setFormatWhereDifferent(block, 0, static_cast<int>(range.Arrow), plain_);
    ColourAnswer(block, range, true);
}

bool TDocumentEditor::hasAnsweredFormats(const std::vector<FormatRun>& runs,
                                         const TAnswerRange& range) {
    keptArrow(true);
    keptAnswer(true);
    const int bounds[] = {static_cast<int>(range.Arrow), static_cast<int>(range.Answer()),
                          static_cast<int>(range.LineLength)};
    const int indexes[] = {plainIndex_, arrowKept_.index, answerKept_.index};
    int from = 0;
    for (const FormatRun& run : runs) {
        const int to = from + run.length;
        int start = 0;
        for (int span = 0; span < 3; ++span) {
            const bool overlaps = start < bounds[span] && start < to && from < bounds[span];
            if (overlaps && (indexes[span] < 0 || run.formatIndex != indexes[span])) return false;
            start = bounds[span];
        }
        from = to;
    }
    return from == bounds[2];
}

int TDocumentEditor::answeredMark() {
    // Building either format anew (a colour or the protection changed) makes a new mark.
    keptArrow(true);
    keptAnswer(true);
    constexpr int kMarkBase = 0x40000000;  // far from a block's own state, -1
    return kMarkBase + ((arrowKept_.builds + answerKept_.builds) & 0x3FFFFFFF);
}

void TDocumentEditor::dropAnsweredMarks(int position, int length) {
    QTextBlock block = document()->findBlock(position);
    const QTextBlock last = document()->findBlock(position + length);
    while (block.isValid()) {
        if (block.userState() != -1) block.setUserState(-1);
        if (block == last) break;
        block = block.next();
    }
}

void TDocumentEditor::forgetFormatIndexes() {
    plainIndex_ = -1;
    arrowKept_.index = -1;
    answerKept_.index = -1;
}

void TDocumentEditor::insertAnswered(QTextCursor& cursor, const QString& line, int from, int to,
                                     const TAnswerRange& range) {
    BusyHold hold(*this);
    QTextCharFormat& arrow = keptArrow(true);
    QTextCharFormat& answer = keptAnswer(true);
    const int bounds[] = {static_cast<int>(range.Arrow), static_cast<int>(range.Answer()),
                          static_cast<int>(line.size())};
    const QTextCharFormat* formats[] = {&plain_, &arrow, &answer};
    bool first = true;
    for (int span = 0; span < 3 && from < to; ++span) {
        const int end = std::min(to, bounds[span]);
        if (from >= end) continue;
        cursor.insertText(line.mid(from, end - from), *formats[span]);
        first = false;
        from = end;
    }
    if (first) cursor.removeSelectedText();
}

void TDocumentEditor::setPlainWhereDifferent(const QTextBlock& block, int end) {
    if (!block.isValid()) return;
    setFormatWhereDifferent(block, 0, end, plain_);
}

// Setting a format is a change of the document even where nothing differs: it marks the
// document modified, and with the undo history on it is a step of its own, kept as it is.
// With the history off, a recalculation that gives the same answers sets no format.
void TDocumentEditor::setFormatWhereDifferent(const QTextBlock& block, int start, int end,
                                              QTextCharFormat& format) {
    if (start >= end) return;
    if (!document()->isUndoRedoEnabled() && hasFormat(block, start, end, format)) {
        if (!document()->isModified()) document()->setModified(true);
        return;
    }
    BusyHold hold(*this);
    const int position = block.position();
    QTextCursor cursor(document());
    cursor.setPosition(position + start);
    cursor.setPosition(position + end, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

// Fragments are walked by their lengths: a fragment's position costs a search of the
// document's fragments, its length does not. A fragment's format that equals `format` takes
// its place: it shares the document's copy, and the next comparison with it is immediate.
bool TDocumentEditor::hasFormat(const QTextBlock& block, int start, int end,
                                QTextCharFormat& format) {
    if (end > block.length() - 1) return false;
    int from = 0;
    for (auto it = block.begin(); !it.atEnd() && from < end; ++it) {
        const QTextFragment fragment = it.fragment();
        const int to = from + fragment.length();
        if (start < to) {
            const QTextCharFormat own = fragment.charFormat();
            if (own != format) return false;
            format = own;
        }
        from = to;
    }
    return true;
}

void TDocumentEditor::ColourAllAnswers(bool protect) {
    BusyHold hold(*this);
    const int count = lineCount();
    for (int line = 0; line < count; ++line)
        ColourAnswer(line, protect);
}

bool TDocumentEditor::isProtectedAt(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat().boolProperty(ProtectedProperty);
    }
    return false;
}

// ---- whole text ------------------------------------------------------------------------

int TDocumentEditor::lineCount() const {
    const int blocks = document()->blockCount();
    return document()->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QStringList TDocumentEditor::textLines() const {
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TDocumentEditor::showLines(const QStringList& lines) {
    BusyHold hold(*this);
    HistoryOff history(*this);
    setPlainText(lines.join('\n'));
    // The loaded text takes the plain format that the commands write, so that the first
    // calculation finds the expressions formatted already.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.setCharFormat(plain_);
    ColourAllAnswers(true);
    clearUndo();
    setModified(false);
}

// ---- modified flag -----------------------------------------------------------------------

bool TDocumentEditor::isModified() const {
    return document()->isModified();
}

void TDocumentEditor::setModified(bool modified) {
    if (!modified) {
        saved_ = fingerprint();
        markingSaved_ = true;
    }
    document()->setModified(modified);
    markingSaved_ = false;
}

TDocumentEditor::Fingerprint TDocumentEditor::fingerprint() const {
    const QString text = document()->toRawText();
    return {qHash(text), text.size()};
}

// Qt clears its flag when Undo or Redo reaches the history's clean point (or new content is
// set); the text there need not be the saved one.
void TDocumentEditor::modificationChanged(bool modified) {
    if (modified || markingSaved_) return;
    if (fingerprint() != saved_) document()->setModified(true);
}

void TDocumentEditor::clearText() {
    BusyHold hold(*this);
    clear();
}

void TDocumentEditor::clearUndo() {
    document()->clearUndoRedoStacks();
}

TDocumentEditor::HistoryOff::HistoryOff(TDocumentEditor& editor) : editor_(editor) {
    editor_.document()->setUndoRedoEnabled(false);
}

TDocumentEditor::HistoryOff::~HistoryOff() {
    editor_.document()->setUndoRedoEnabled(true);
}

// ---- edits of the user's -----------------------------------------------------------------

// An edit on a line that holds an answer may touch it; such an edit runs as an edit block,
// which its clean-up then joins, so that one Undo takes back both. (Qt joins only a block to
// a block, and reports a block's changes when it closes.) Other edits stay single steps,
// which Qt merges with the typing around them.
template <typename Edit>
void TDocumentEditor::userEdit(int from, int to, Edit&& edit) {
    QTextCursor step(document());
    bool grouped = false;
    if (userEditDepth_++ == 0) {
        pending_ = false;
        inserted_.clear();
        noteProtectedRuns(from, to);
        grouped = linesHoldProtectedRun(from, to);
        if (grouped) step.beginEditBlock();
    }
    try {
        edit();
    } catch (...) {
        --userEditDepth_;
        if (grouped) step.endEditBlock();
        throw;
    }
    // Closing the block reports its changes, while they still count as the user's edit.
    if (grouped) step.endEditBlock();
    if (--userEditDepth_ == 0) afterUserEdit();
}

bool TDocumentEditor::linesHoldProtectedRun(int from, int to) const {
    const QTextBlock first = document()->findBlock(std::min(from, to));
    const QTextBlock last = document()->findBlock(std::max(from, to));
    const int start = first.position();
    const int end = last.position() + last.length();
    return std::any_of(runs_.begin(), runs_.end(),
                       [&](const Run& run) { return run.start < end && start < run.end; });
}

void TDocumentEditor::noteProtectedRuns(int from, int to) {
    runs_.clear();
    noted_.clear();
    QTextBlock first = document()->findBlock(std::min(from, to));
    QTextBlock last = document()->findBlock(std::max(from, to));
    if (first.previous().isValid()) first = first.previous();
    if (last.next().isValid()) last = last.next();
    notedStart_ = first.position();
    noted_ = textBetween(first.position(), last.position() + last.length());
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().boolProperty(ProtectedProperty)) continue;
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (!runs_.empty() && runs_.back().end == start)
                runs_.back().end = end;
            else
                runs_.push_back({start, end});
        }
        if (block == last) break;
    }
}

// Every change of the text. While a user edit runs, decides whether it touched a protected
// run and keeps the noted runs in step with the text.
void TDocumentEditor::contentsChanged(int position, int removed, int added) {
    if (!batchEnding_) dropAnsweredMarks(position, added);
    if (userEditDepth_ == 0) return;
    narrowChange(position, removed, added);
    const bool own = busy() || internalDelete_;
    if (!own && removed != added) {
        const int end = position + removed;
        for (const Run& run : runs_) {
            const bool touched = removed > 0 ? run.start < end && position < run.end
                                             : run.start < position && position < run.end;
            if (touched) {
                pending_ = true;
                pendingStart_ = position;
                break;
            }
        }
        if (added > 0) inserted_.push_back({position, added});
    }
    const int shift = added - removed;
    const auto move = [&](int x) {
        if (x < position) return x;
        return x >= position + removed ? x + shift : position;
    };
    for (Run& run : runs_) {
        run.start = move(run.start);
        run.end = move(run.end);
    }
    std::erase_if(runs_, [](const Run& run) { return run.end <= run.start; });
}

// Trims what the reported change left as it was from both ends, comparing with the noted
// text; a change outside the noted lines stays as reported. Keeps the noted text current.
void TDocumentEditor::narrowChange(int& position, int& removed, int& added) {
    const int offset = position - notedStart_;
    if (offset < 0 || offset + removed > noted_.size()) return;
    const QString now = textBetween(position, position + added);
    const QStringView before = QStringView(noted_).mid(offset, removed);
    int head = 0;
    while (head < removed && head < added && before[head] == now[head])
        ++head;
    int tail = 0;
    while (tail < removed - head && tail < added - head &&
           before[removed - 1 - tail] == now[added - 1 - tail])
        ++tail;
    noted_.replace(offset, removed, now);
    position += head;
    removed -= head + tail;
    added -= head + tail;
}

// The document's text from `start` to `end`, line breaks as line feeds.
QString TDocumentEditor::textBetween(int start, int end) const {
    QTextCursor cursor(document());
    const int size = document()->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, size));
    cursor.setPosition(std::clamp(end, 0, size), QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, '\n');
    // The document's closing separator, which changes may report, reads as a line break.
    if (end > size) text.append(QString(end - std::max(start, size), '\n'));
    return text;
}

// The clean-up and the re-formatting belong to the user's edit: they join its undo step, so
// one Undo brings back the answer as it was, colours and protection included.
void TDocumentEditor::afterUserEdit() {
    if (pending_ || insertedTookAnswerFormat()) {
        QTextCursor step(document());
        step.joinPreviousEditBlock();
        plainInserted();
        if (pending_) cleanUpProtectedEdit();
        step.endEditBlock();
    }
    pending_ = false;
    inserted_.clear();
    runs_.clear();
    noted_.clear();
}

// Whether any text the current user edit inserted is protected.
bool TDocumentEditor::insertedTookAnswerFormat() const {
    const int size = document()->characterCount() - 1;
    for (const Inserted& range : inserted_) {
        const int end = std::min(range.start + range.length, size);
        for (int p = std::min(range.start, size); p < end; ++p)
            if (isProtectedAt(p)) return true;
    }
    return false;
}

// Text that an input method or the editor's own key handling inserted may have taken the
// format of an answer next to it; it is expression text.
void TDocumentEditor::plainInserted() {
    const int size = document()->characterCount() - 1;
    for (const Inserted& range : inserted_) {
        const int start = std::min(range.start, size);
        const int end = std::min(range.start + range.length, size);
        bool plain = true;
        for (int p = start; p < end && plain; ++p)
            plain = !isProtectedAt(p);
        if (plain) continue;
        BusyHold hold(*this);
        QTextCursor cursor(document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(plainFormat());
    }
}

// The protected-edit clean-up: what follows the edit up to the end of the protected run,
// and what precedes the edit's start back to the start of the run, is removed; the
// selection keeps its place relative to the text that stays.
void TDocumentEditor::cleanUpProtectedEdit() {
    const QTextCursor selection = textCursor();
    int s = selection.selectionStart();
    int l = selection.selectionEnd() - s;
    const int size = document()->characterCount() - 1;
    int e = s;
    while (e < size && isProtectedAt(e))
        ++e;
    removeRange(s, e - s);
    l = std::max(l - (e - s), 0);
    const int r = std::min(pendingStart_, s);
    if (r > 0) {
        int q = r - 1;
        while (q >= 0 && isProtectedAt(q))
            --q;
        const int count = r - q - 1;
        if (count > 0) {
            removeRange(q + 1, count);
            s -= count;
        }
    }
    QTextCursor cursor(document());
    cursor.setPosition(s);
    cursor.setPosition(s + l, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TDocumentEditor::removeRange(int start, int length) {
    if (length <= 0) return;
    internalDelete_ = true;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    internalDelete_ = false;
}

void TDocumentEditor::insertPlain(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.insertText(text, plainFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TDocumentEditor::pastePlainText() {
    paste();
}

void TDocumentEditor::cutSelection() {
    const QTextCursor c = textCursor();
    userEdit(c.selectionStart(), c.selectionEnd(), [&] { cut(); });
}

void TDocumentEditor::deleteSelection() {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) return;
    userEdit(c.selectionStart(), c.selectionEnd(), [&] {
        c.removeSelectedText();
        setTextCursor(c);
    });
}

void TDocumentEditor::insertUserText(const QString& text) {
    const QTextCursor c = textCursor();
    userEdit(c.selectionStart(), c.selectionEnd(), [&] { insertPlain(text); });
}

// ---- events ------------------------------------------------------------------------------

bool TDocumentEditor::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        const QKeySequence pressed(key->keyCombination());
        for (const QKeySequence& reserved : reserved_) {
            if (reserved.matches(pressed) == QKeySequence::ExactMatch) {
                e->ignore();
                return true;
            }
        }
    }
    return QPlainTextEdit::event(e);
}

void TDocumentEditor::keyPressEvent(QKeyEvent* e) {
    int key = e->key();
    const Qt::KeyboardModifiers modifiers = e->modifiers();
    if (onKeyDown) onKeyDown(key, modifiers);
    e->accept();
    if (key == 0) return;
    // Undo and Redo put back text exactly as it was, answers' formats included; they are not
    // edits of the user's to clean up or to re-format.
    if (e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo)) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    const QTextCursor c = textCursor();
    if (isReturn(key)) {
        if (modifiers & Qt::ControlModifier)
            userEdit(c.selectionStart(), c.selectionEnd(), [&] { insertPlain("\n"); });
        return;
    }
    userEdit(c.selectionStart(), c.selectionEnd(), [&] {
        if (typesText(e))
            insertPlain(e->text());
        else
            QPlainTextEdit::keyPressEvent(e);
    });
}

void TDocumentEditor::keyReleaseEvent(QKeyEvent* e) {
    if (onKeyUp) onKeyUp(e->key(), e->modifiers());
    QPlainTextEdit::keyReleaseEvent(e);
}

void TDocumentEditor::inputMethodEvent(QInputMethodEvent* e) {
    const QTextCursor c = textCursor();
    userEdit(c.selectionStart(), c.selectionEnd(), [&] { QPlainTextEdit::inputMethodEvent(e); });
}

bool TDocumentEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void TDocumentEditor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return;
    const QTextCursor c = textCursor();
    userEdit(c.selectionStart(), c.selectionEnd(), [&] { insertPlain(source->text()); });
}

void TDocumentEditor::dragEnterEvent(QDragEnterEvent* e) {
    if (!localFiles(e->mimeData()).isEmpty()) {
        e->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(e);
}

void TDocumentEditor::dragMoveEvent(QDragMoveEvent* e) {
    if (!localFiles(e->mimeData()).isEmpty()) {
        e->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(e);
}

void TDocumentEditor::dropEvent(QDropEvent* e) {
    const QStringList files = localFiles(e->mimeData());
    if (!files.isEmpty()) {
        e->acceptProposedAction();
        if (onFilesDropped) onFilesDropped(files);
        return;
    }
    const QTextCursor c = textCursor();
    const int target = cursorForPosition(e->position().toPoint()).position();
    userEdit(std::min(c.selectionStart(), target), std::max(c.selectionEnd(), target),
             [&] { QPlainTextEdit::dropEvent(e); });
}

void TDocumentEditor::contextMenuEvent(QContextMenuEvent* e) {
    if (popup_) {
        popup_->exec(e->globalPos());
        return;
    }
    QPlainTextEdit::contextMenuEvent(e);
}

void TDocumentEditor::mousePressEvent(QMouseEvent* e) {
    pending_ = false;
    QPlainTextEdit::mousePressEvent(e);
}

}  // namespace tallyon
