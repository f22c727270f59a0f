// Rewriting lines with the undo history off, as a recalculation does: only what differs is
// changed, and the result must be the same text, formats, protection and modified flag as
// rewriting the whole line with the history on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>
#include <optional>
#include <string>

#include "QtTestApplication.h"
#include "document/editor/Colours.h"
#include "document/editor/DocumentEditor.h"
#include "document/editor/EditorLineDocument.h"

namespace tallyon {
namespace {

struct RewriteCase {
    const char* name;
    const char* before;    // the line as shown
    bool protectedBefore;  // its answer protected (else coloured only)
    const char* after;     // the new text
    bool answered;         // written as a line with an answer
};

// What a character looks like and does: its protection, colour and weight.
struct Look {
    bool isProtected;
    QColor colour;
    int weight;
    bool operator==(const Look&) const = default;
};

class LineRewriteTest : public testing::TestWithParam<RewriteCase> {
protected:
    // A fresh editor showing `before` then written with `after`, the history on or off.
    std::unique_ptr<TDocumentEditor> rewritten(bool history) {
        const RewriteCase& c = GetParam();
        auto editor = std::make_unique<TDocumentEditor>();
        editor->showLines({"first", QString::fromUtf8(c.before), "last ==> 1"});
        if (!c.protectedBefore) editor->ColourAllAnswers(false);
        editor->setModified(false);
        TEditorLineDocument lines(*editor);
        {
            std::optional<TDocumentEditor::HistoryOff> off;
            if (!history) off.emplace(*editor);
            TEditorLineDocument::Batch batch(lines);
            // Read first, as a recalculation reads each line before it writes it.
            EXPECT_EQ(lines.Line(1), c.before);
            if (c.answered)
                lines.ReplaceAnsweredLine(1, c.after);
            else
                lines.ReplaceLine(1, c.after);
        }
        return editor;
    }

    static Look lookAt(const TDocumentEditor& editor, int position) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return {editor.isProtectedAt(position),
                format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                 : QColor(),
                format.fontWeight()};
    }

    void SetUp() override { EnsureApplication(); }
};

// The text read from a line is kept for its rewrite, but not past an edit made between
// reading and writing (here one made straight in the document): the rewrite then compares
// with the line as it is, and the line ends up exactly as written.
TEST(LineRewriteAfterRead, SeesAChangeMadeAfterTheRead) {
    EnsureApplication();
    for (const bool answered : {false, true}) {
        TDocumentEditor editor;
        editor.showLines({"first", "1+2 ==> 3", "last"});
        TEditorLineDocument lines(editor);
        TDocumentEditor::HistoryOff off(editor);
        TEditorLineDocument::Batch batch(lines);
        ASSERT_EQ(lines.Line(1), "1+2 ==> 3");
        QTextCursor cursor(editor.document()->findBlockByNumber(1));
        cursor.insertText("99");
        if (answered) {
            lines.ReplaceAnsweredLine(1, "991+2 ==> 993");
        } else {
            lines.ReplaceLine(1, "991+2");
        }
        EXPECT_EQ(lines.Line(1), answered ? "991+2 ==> 993" : "991+2");
        EXPECT_EQ(lines.Line(2), "last");
    }
}

// A recalculation that finds most answers formatted already still formats every line that
// lacks its formats, wherever it stands and whatever the lines before it had: an answer left
// unprotected between protected ones, and arrows in a colour set after the last round.
TEST(LineRewriteAcrossLines, FormatsEveryLineThatDiffers) {
    EnsureApplication();
    TDocumentEditor editor;
    editor.showLines({"1 ==> 1", "2 ==> 2", "3 ==> 3", "4 ==> 4"});
    TEditorLineDocument lines(editor);
    const auto recalculate = [&] {
        TDocumentEditor::HistoryOff off(editor);
        TEditorLineDocument::Batch batch(lines);
        for (int n = 0; n < 4; ++n)
            lines.ReplaceAnsweredLine(n, lines.Line(n));
    };
    const auto arrowAt = [&](int line) {
        QTextCursor cursor(editor.document()->findBlockByNumber(line));
        cursor.setPosition(cursor.position() + 3);  // on the arrow's '='
        return cursor;
    };
    recalculate();
    editor.ColourAnswer(2, false);
    ASSERT_FALSE(editor.isProtectedAt(arrowAt(2).position()));
    recalculate();
    for (int n = 0; n < 4; ++n)
        EXPECT_TRUE(editor.isProtectedAt(arrowAt(n).position())) << "line " << n;

    // A format changed by anything but a recalculation is seen by the next one.
    {
        QTextCursor cursor(editor.document()->findBlockByNumber(3));
        cursor.setPosition(cursor.position() + 2);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.setCharFormat(TDocumentEditor::plainFormat());
    }
    ASSERT_FALSE(editor.isProtectedAt(arrowAt(3).position()));
    recalculate();
    EXPECT_TRUE(editor.isProtectedAt(arrowAt(3).position()));

    DocumentColours colours = editor.colours();
    colours.arrow = 0x00FF0000u;  // blue
    editor.setColours(colours);
    recalculate();
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(arrowAt(n).charFormat().foreground().color(), ToQColor(0x00FF0000u))
            << "line " << n;
}

// A command that rewrites every line reads each line as the document holds it, whatever it
// wrote before: lines after the ones written, a line written and read again, and lines of
// any characters (a line separator inside a line, Japanese, tabs, empty lines).
TEST(LineRewriteAcrossLines, ReadsEveryLineAsTheDocumentHoldsIt) {
    EnsureApplication();
    TDocumentEditor editor;
    editor.showLines({"1+2 ==> 3 ", QString::fromUtf8("あ\tい"), "", "a\u2028b", "x ==> 1 ", ""});
    TEditorLineDocument lines(editor);
    TDocumentEditor::HistoryOff off(editor);
    TEditorLineDocument::Batch batch(lines);
    const auto held = [&](int n) {
        return editor.document()->findBlockByNumber(n).text().toStdString();
    };
    for (int n = 0; n < 5; ++n) {
        ASSERT_EQ(lines.Line(n), held(n)) << "line " << n;
        if (n == 1) lines.ReplaceLine(n, "longer than before");
        if (n == 3) lines.ReplaceAnsweredLine(n, "b ==> 22 ");
        if (n == 1 || n == 3) {
            EXPECT_EQ(lines.Line(n), held(n)) << "line " << n << " again";
        }
    }
    lines.AppendEmptyLine();
    EXPECT_EQ(lines.Line(6), held(6));
    EXPECT_EQ(lines.Line(4), "x ==> 1 ");
}

TEST_P(LineRewriteTest, MatchesAWholeLineRewrite) {
    const auto whole = rewritten(true);
    const auto changed = rewritten(false);
    ASSERT_EQ(changed->toPlainText(), whole->toPlainText());
    EXPECT_EQ(changed->textLines().at(1).toStdString(), GetParam().after);
    const int size = whole->document()->characterCount() - 1;
    for (int p = 0; p < size; ++p)
        EXPECT_EQ(lookAt(*changed, p), lookAt(*whole, p)) << "at " << p;
    // Calculating a line is a change of the document even when its text stays the same.
    EXPECT_TRUE(changed->isModified());
    EXPECT_FALSE(changed->document()->isUndoAvailable());
}

const RewriteCase kRewriteCases[] = {
    {"SameAnswer", "1+2 ==> 3", true, "1+2 ==> 3", true},
    {"OtherAnswer", "1+2 ==> 3", true, "1+2 ==> 4", true},
    {"AnswerAdded", "1+2", true, "1+2 ==> 3", true},
    {"LongerAnswer", "3 ==> 3", true, "3 ==> 33", true},
    {"ShorterAnswer", "33 ==> 33", true, "33 ==> 3", true},
    {"ErrorArrow", "1/0 ==> 0", true, "1/0 >>> division by zero", true},
    {"AnswerRemoved", "1+2 ==> 3", true, "1+2", false},
    {"SameTextWrittenPlain", "1+2 ==> 3", true, "1+2 ==> 3", false},
    {"UnprotectedAnswerProtected", "x ==> 1", false, "x ==> 1", true},
    {"BodyChangedAnswerSame", "a+b ==> 2", true, "a-b ==> 2", true},
    {"ChangeAcrossAllSpans", "1+2 ==> 3", true, "1+22 ==> 34", true},
    {"ArrowOnlyChanged", "1 ==> 1", true, "1 >>> 1", true},
    {"UnprotectedAnswerAdded", "x", false, "x ==> 1", true},
    {"Japanese", "あ ==> 1", true, "あい ==> 12", true},
    {"EmptyLine", "", true, "", false},
};
INSTANTIATE_TEST_SUITE_P(Cases, LineRewriteTest, testing::ValuesIn(kRewriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A caret set inside a batch lands where the same steps without a batch put it, also when
// the text around it changes before the batch ends; the line count follows the changes.
struct CaretCase {
    const char* name;
    int caretLine;      // the caret is set to the start of this line first
    int rewrittenLine;  // then this line is rewritten (-1: none)
    const char* text;   // with this text
    bool append;        // then an empty line is appended
};

class BatchCaretTest : public testing::TestWithParam<CaretCase> {
protected:
    void SetUp() override { EnsureApplication(); }

    struct Outcome {
        int position;
        int lineCount;
        int caretLine;
        int caretColumn;
    };

    static Outcome run(bool batched) {
        const CaretCase& c = GetParam();
        TDocumentEditor editor;
        editor.showLines({"1+2 ==> 3", "abc", ""});
        TEditorLineDocument lines(editor);
        TDocumentEditor::HistoryOff off(editor);
        Outcome outcome{};
        {
            std::optional<TEditorLineDocument::Batch> batch;
            if (batched) batch.emplace(lines);
            lines.SetCaret(c.caretLine, 0);
            if (c.rewrittenLine >= 0) lines.ReplaceLine(c.rewrittenLine, c.text);
            if (c.append) lines.AppendEmptyLine();
            outcome.lineCount = lines.LineCount();
            outcome.caretLine = lines.CaretLine();
            outcome.caretColumn = lines.CaretColumn();
        }
        outcome.position = editor.textCursor().position();
        return outcome;
    }
};

TEST_P(BatchCaretTest, LandsAsWithoutABatch) {
    const Outcome plain = run(false);
    const Outcome batched = run(true);
    EXPECT_EQ(batched.position, plain.position);
    EXPECT_EQ(batched.lineCount, plain.lineCount);
    EXPECT_EQ(batched.caretLine, plain.caretLine);
    EXPECT_EQ(batched.caretColumn, plain.caretColumn);
}

const CaretCase kCaretCases[] = {
    {"Untouched", 1, -1, "", false},
    {"OwnLineRewrittenFromItsStart", 1, 1, "xyz", false},
    {"OwnLineGrows", 0, 0, "11+2 ==> 13", false},
    {"EarlierLineGrows", 1, 0, "11+2 ==> 13", false},
    {"LastLineFilled", 1, 1, "abc", true},
    {"CaretOnEmptyLastLineThenAppend", 2, -1, "", true},
    {"EmptyLastLineWritten", 2, 2, "7", true},
};
INSTANTIATE_TEST_SUITE_P(Cases, BatchCaretTest, testing::ValuesIn(kCaretCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tallyon
