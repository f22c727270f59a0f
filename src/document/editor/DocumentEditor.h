// The document editor: the text editor of the calculation document, a QPlainTextEdit in
// plain-text mode without word wrap, with the answers' colours, bold and protection.
//
// Qt has no protected text, so protection is a property on the character format of the
// arrow and answer characters (ProtectedProperty). Before each edit of the user's (a key,
// an input-method commit, a paste, a cut, a drop) the editor notes the protected runs
// around the selection; the document's change report then tells whether the edit touched
// one: a removal that overlaps a run, or an insertion strictly inside it. After such an edit
// the clean-up removes the rest of that protected run on both sides of the edit, keeping
// what the user typed, so an edit that touches an answer removes arrow and answer whole.
// The system's own changes (calculating, colouring, loading) are made under the busy mark
// and never trigger the clean-up.
//
// Text the user types or pastes is inserted with the plain expression format, so it never
// inherits the bold, colour or protection of an answer next to it.
//
// The modified flag belongs to the editor too. Qt's own flag only says whether the undo
// history stands at the point where it was last cleared as saved, and the line actions
// clear the history, so Undo can reach that point with a text that was never saved. The
// editor keeps a fingerprint of the text last loaded or saved and, whenever Qt's flag would
// go false, compares the text with it and keeps the flag set when they differ.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <functional>
#include <optional>
#include <vector>

#include "document/LineModel.h"
#include "settings/SettingsRecord.h"

class QMenu;

namespace tallyon {

// Colours of the document in the settings' encoding.
struct DocumentColours {
    TColour back = clWindow;
    TColour expression = clWindowText;
    TColour arrow = clRed;
    TColour answer = clGreen;
};

// FindAnswer over an editor line's text.
std::optional<TAnswerRange> FindAnswerIn(const QString& line);

class TDocumentEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    // The character-format property that marks protected text (bool).
    static constexpr int ProtectedProperty = QTextFormat::UserProperty + 1;

    explicit TDocumentEditor(QWidget* parent = nullptr);

    // Holds the busy mark for its lifetime; holders nest, and the mark is set until the
    // outermost one ends.
    class BusyHold {
    public:
        explicit BusyHold(TDocumentEditor& editor) : editor_(editor) { ++editor_.busy_; }
        ~BusyHold() { --editor_.busy_; }
        BusyHold(const BusyHold&) = delete;
        BusyHold& operator=(const BusyHold&) = delete;

    private:
        TDocumentEditor& editor_;
    };
    bool busy() const { return busy_ > 0; }

    // Background and default text colour take effect at once; arrow and answer colours with
    // the next colouring of the lines.
    void setColours(const DocumentColours& colours);
    const DocumentColours& colours() const { return colours_; }

    // Gives the arrow and answer of `line` their colours, the answer bold; `protect` marks
    // both protected. A line without an arrow is left alone; the selection is untouched.
    void ColourAnswer(int line, bool protect);
    void ColourAnswer(const QTextBlock& block, bool protect);
    // ColourAnswer for a block whose answer is known to lie at `range`.
    void ColourAnswer(const QTextBlock& block, const TAnswerRange& range, bool protect);
    // Gives a line with its answer at `range` the plain format before the arrow and the
    // arrow's and answer's formats, protected, under the busy mark; with the undo history
    // off, sets none when every character has its format already.
    void FormatAnsweredLine(const QTextBlock& block, const TAnswerRange& range);
    // A run of a line's characters that share one format, by the format's index in the
    // document.
    struct FormatRun {
        int length;
        int formatIndex;
    };
    // Whether a line made of `runs` has the formats FormatAnsweredLine gives it with its
    // answer at `range`, judged by the format indexes FormatAnsweredLine has met; false
    // where unsure. The indexes are met anew after forgetFormatIndexes (a document cleared
    // may number its formats afresh) and after a change of colours.
    bool hasAnsweredFormats(const std::vector<FormatRun>& runs, const TAnswerRange& range);
    void forgetFormatIndexes();
    // The mark (a block's user state) of a line whose formats are known to be the ones
    // FormatAnsweredLine gives its text. The line document sets it once it has written or
    // checked them; any other change of the document drops it from the blocks the change
    // touches, and a change of the answer formats (colours, protection) changes the mark.
    int answeredMark();
    // A line batch reports its changes when it ends, and keeps its marks right itself: while
    // it ends, those reports leave the marks alone.
    void setBatchEnding(bool ending) { batchEnding_ = ending; }
    // Replaces the selection of `cursor` with the characters of `line` from `from` to `to`,
    // each in the format it takes in a line whose answer lies at `range` (see
    // FormatAnsweredLine): text written that way needs no formatting afterwards.
    void insertAnswered(QTextCursor& cursor, const QString& line, int from, int to,
                        const TAnswerRange& range);
    // Gives the characters of `block` before `end` the plain format, under the busy mark;
    // with the undo history off, not where every one of them has it already.
    void setPlainWhereDifferent(const QTextBlock& block, int end);
    // ColourAnswer for every counted line, under the busy mark.
    void ColourAllAnswers(bool protect);

    // Whether the character at `position` is protected (false at a line end).
    bool isProtectedAt(int position) const;

    // Set while the text may differ from the text last loaded or saved; never false while
    // it does differ.
    bool isModified() const;
    // false makes the current text the saved one; true marks the document modified.
    void setModified(bool modified);

    // The lines of the document as the calculation counts them: an empty last line is not
    // counted.
    int lineCount() const;
    // Every text line, the uncounted empty last line included.
    QStringList textLines() const;
    // Replaces all text by `lines` under the busy mark, colours and protects every answer,
    // and leaves the document unmodified with an empty undo history.
    void showLines(const QStringList& lines);
    // Empties the document under the busy mark.
    void clearText();
    // Forgets the undo history.
    void clearUndo();
    // Forgets the undo history and records none while held. The document keeps the text
    // that an edit removes for as long as the history may bring it back; with the history
    // off, that text is released (at the next time the history is switched off), so
    // commands that rewrite every line hold this to keep memory flat.
    class HistoryOff {
    public:
        explicit HistoryOff(TDocumentEditor& editor);
        ~HistoryOff();
        HistoryOff(const HistoryOff&) = delete;
        HistoryOff& operator=(const HistoryOff&) = delete;

    private:
        TDocumentEditor& editor_;
    };

    // The format of text that is neither arrow nor answer.
    static QTextCharFormat plainFormat();

    // Edits on behalf of the commands; each counts as an edit of the user's.
    void pastePlainText();
    void cutSelection();
    void deleteSelection();
    // Replaces the selection (or inserts at the caret) with plain `text`, as if typed.
    void insertUserText(const QString& text);

    // Called before the editor handles a key; setting `key` to 0 swallows it. Return is
    // never inserted by the editor itself; Ctrl+Return inserts a line break afterwards.
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onKeyDown;
    std::function<void(int key, Qt::KeyboardModifiers modifiers)> onKeyUp;
    // Local files dropped on the document.
    std::function<void(const QStringList& paths)> onFilesDropped;

    // The context menu shown on the document (not owned).
    void setPopupMenu(QMenu* menu) { popup_ = menu; }
    // Key sequences the window's commands answer; the editor leaves them to the commands
    // instead of handling them as editing keys.
    void setReservedShortcuts(const QList<QKeySequence>& keys) { reserved_ = keys; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    struct Run {
        int start;  // first protected character
        int end;    // one past the last
    };
    struct Inserted {
        int start;
        int length;
    };

    // Runs `edit` as an edit of the user's: notes the protected runs of the lines from
    // `from` to `to` (and their neighbours) first, and cleans up after it when it touched
    // protected text. Edits nest; only the outermost notes and cleans up.
    template <typename Edit>
    void userEdit(int from, int to, Edit&& edit);
    void noteProtectedRuns(int from, int to);
    // Whether a noted run lies on the lines from `from` to `to`.
    bool linesHoldProtectedRun(int from, int to) const;
    void contentsChanged(int position, int removed, int added);
    void narrowChange(int& position, int& removed, int& added);
    QString textBetween(int start, int end) const;
    void afterUserEdit();
    bool insertedTookAnswerFormat() const;
    void plainInserted();
    void cleanUpProtectedEdit();
    void removeRange(int start, int length);
    void insertPlain(const QString& text);
    // A hash and the length of the whole text: texts that differ give fingerprints that
    // differ, but for a hash collision.
    struct Fingerprint {
        std::size_t hash = 0;
        qsizetype length = 0;
        bool operator==(const Fingerprint&) const = default;
    };
    Fingerprint fingerprint() const;
    void modificationChanged(bool modified);
    QTextCharFormat arrowFormat(bool protect) const;
    // Gives the characters of `block` from offset `start` to `end` the format `format`;
    // with the undo history off, not where every one of them has it already.
    void setFormatWhereDifferent(const QTextBlock& block, int start, int end,
                                 QTextCharFormat& format);
    // Whether every character of `block` from offset `start` to `end` has `format`.
    static bool hasFormat(const QTextBlock& block, int start, int end, QTextCharFormat& format);
    // A format built once for its colour and protection.
    class KeptFormat {
    public:
        QTextCharFormat& get(const QColor& colour, bool protect,
                             const std::function<QTextCharFormat()>& build);
        // The document's index of the format, once met (-1 before); reset by a rebuild.
        int index = -1;
        // How often the format has been built.
        int builds = 0;

    private:
        QTextCharFormat format_;
        QColor colour_;
        bool protect_ = false;
        bool built_ = false;
    };
    QTextCharFormat answerFormat(bool protect) const;
    // The kept arrow and answer formats for the current colours, built anew when they change.
    QTextCharFormat& keptArrow(bool protect);
    QTextCharFormat& keptAnswer(bool protect);

    DocumentColours colours_;
    QTextCharFormat plain_ = plainFormat();
    int plainIndex_ = -1;  // the document's index of plain_, once met
    bool batchEnding_ = false;
    // Drops the answered mark from the blocks from `position` to `position + length`.
    void dropAnsweredMarks(int position, int length);
    KeptFormat arrowKept_;
    KeptFormat answerKept_;
    Fingerprint saved_;            // of the text last loaded or saved
    bool markingSaved_ = false;    // setModified(false) is clearing Qt's flag
    int busy_ = 0;                 // busy mark holders
    bool internalDelete_ = false;  // the clean-up itself is deleting
    int userEditDepth_ = 0;
    std::vector<Run> runs_;  // protected runs noted before the current user edit
    // The text of the lines noted with the runs, kept in step with every change, so that a
    // change the document reports too widely (an input method reports its whole line) is
    // narrowed to the characters that really changed.
    QString noted_;
    int notedStart_ = 0;  // document position of noted_'s first character
    std::vector<Inserted> inserted_;
    bool pending_ = false;  // the current user edit touched protected text
    int pendingStart_ = 0;  // where that change started
    QMenu* popup_ = nullptr;
    QList<QKeySequence> reserved_;
};

}  // namespace tallyon
