// The document editor over real key presses: answers coloured and protected, the clean-up
// after an edit that touches an answer, and the line-document view the calculation uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPalette>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "QtTestApplication.h"
#include "document/editor/Colours.h"
#include "document/editor/DocumentEditor.h"
#include "document/editor/DocumentFont.h"
#include "document/editor/EditorLineDocument.h"

namespace tallyon {
namespace {

class EditorTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        editor = std::make_unique<TDocumentEditor>();
        editor->show();
        editor->activateWindow();
        editor->setFocus();
    }

    void show(const QStringList& lines) { editor->showLines(lines); }

    // Selects from `anchor` to `position` (a caret when they are equal).
    void select(int anchor, int position) {
        QTextCursor c(editor->document());
        c.setPosition(anchor);
        c.setPosition(position, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
    }

    QTextCharFormat formatAt(int position) const {
        QTextCursor c(editor->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }

    std::unique_ptr<TDocumentEditor> editor;
};

TEST_F(EditorTest, ArrowIsRedAnswerBoldGreenExpressionPlainAndBothProtected) {
    show({"1+2 ==> 3 "});
    for (int p = 0; p < 3; ++p) {
        EXPECT_FALSE(editor->isProtectedAt(p)) << p;
        EXPECT_FALSE(formatAt(p).hasProperty(QTextFormat::ForegroundBrush)) << p;
        EXPECT_NE(formatAt(p).fontWeight(), QFont::Bold) << p;
    }
    for (int p = 3; p < 8; ++p) {
        EXPECT_TRUE(editor->isProtectedAt(p)) << p;
        EXPECT_EQ(formatAt(p).foreground().color(), QColor(255, 0, 0)) << p;
        EXPECT_NE(formatAt(p).fontWeight(), QFont::Bold) << p;
    }
    for (int p = 8; p < 10; ++p) {
        EXPECT_TRUE(editor->isProtectedAt(p)) << p;
        EXPECT_EQ(formatAt(p).foreground().color(), QColor(0, 128, 0)) << p;
        EXPECT_EQ(formatAt(p).fontWeight(), QFont::Bold) << p;
    }
    EXPECT_FALSE(editor->document()->isModified());
    EXPECT_FALSE(editor->document()->isUndoAvailable());
}

TEST_F(EditorTest, ErrorArrowIsColouredLikeTheNormalOne) {
    show({"x >>> 0 ", "plain text"});
    EXPECT_TRUE(editor->isProtectedAt(1));
    EXPECT_TRUE(editor->isProtectedAt(7));
    EXPECT_FALSE(editor->isProtectedAt(0));
    for (int p = 9; p < 19; ++p)
        EXPECT_FALSE(editor->isProtectedAt(p)) << p;
}

TEST_F(EditorTest, ColouringWithoutProtectionLeavesAnswersEditable) {
    show({"1+2 ==> 3 "});
    editor->ColourAllAnswers(false);
    EXPECT_FALSE(editor->isProtectedAt(4));
    EXPECT_EQ(formatAt(8).fontWeight(), QFont::Bold);
}

// One user edit on one line: the selection before the edit, the edit, and the text after.
enum class Edit { Type, Backspace, Delete, CtrlBackspace, Paste, Cut, InputMethod };
struct ProtectedEditCase {
    const char* name;
    const char* line;
    int anchor;
    int position;
    Edit edit;
    const char* text;  // typed, pasted or committed text
    const char* expected;
};

const ProtectedEditCase kProtectedEdits[] = {
    {"DigitTypedInsideAnswerStaysAndRestGoes", "5*5 ==> 25 ", 9, 9, Edit::Type, "7", "5*57"},
    {"DeletingArrowsFirstBlankRemovesArrowAndAnswer", "1+2 ==> 3 ", 3, 3, Edit::Delete, "", "1+2"},
    {"BackspaceAtEndOfAnswerRemovesArrowAndAnswer", "1+2 ==> 3 ", 10, 10, Edit::Backspace, "",
     "1+2"},
    {"BackspaceInsideArrowRemovesWholeRun", "1+2 ==> 3 ", 6, 6, Edit::Backspace, "", "1+2"},
    {"WordDeleteInsideAnswerRemovesWholeRun", "1+2 ==> 345 ", 11, 11, Edit::CtrlBackspace, "",
     "1+2"},
    {"TypingOverSelectionReachingIntoAnswerKeepsTyped", "1+2 ==> 3 ", 2, 9, Edit::Type, "5", "1+5"},
    {"PastingIntoAnswerKeepsPastedText", "1+2 ==> 3 ", 8, 9, Edit::Paste, "99", "1+299"},
    {"CuttingPartOfAnswerRemovesWholeRun", "1+2 ==> 345 ", 9, 10, Edit::Cut, "", "1+2"},
    {"InputMethodCommitInsideAnswerStays", "5*5 ==> 25 ", 9, 9, Edit::InputMethod, "七", "5*5七"},
    {"TypingAtEndOfExpressionLeavesAnswer", "1+2 ==> 3 ", 3, 3, Edit::Type, "4", "1+24 ==> 3 "},
    {"BackspaceInExpressionLeavesAnswer", "1+2 ==> 3 ", 3, 3, Edit::Backspace, "", "1+ ==> 3 "},
    {"TypingAfterAnswerIsPlainText", "1+2 ==> 3 ", 10, 10, Edit::Type, "x", "1+2 ==> 3 x"},
};

class ProtectedEditTest : public EditorTest,
                          public testing::WithParamInterface<ProtectedEditCase> {};

TEST_P(ProtectedEditTest, LeavesTheExpectedLine) {
    const ProtectedEditCase& c = GetParam();
    show({QString::fromUtf8(c.line), "2*2 ==> 4 "});
    select(c.anchor, c.position);
    const QString text = QString::fromUtf8(c.text);
    switch (c.edit) {
        case Edit::Type:
            QTest::keyClicks(editor.get(), text);
            break;
        case Edit::Backspace:
            QTest::keyClick(editor.get(), Qt::Key_Backspace);
            break;
        case Edit::Delete:
            QTest::keyClick(editor.get(), Qt::Key_Delete);
            break;
        case Edit::CtrlBackspace:
            QTest::keyClick(editor.get(), Qt::Key_Backspace, Qt::ControlModifier);
            break;
        case Edit::Paste:
            QApplication::clipboard()->setText(text);
            editor->pastePlainText();
            break;
        case Edit::Cut:
            editor->cutSelection();
            break;
        case Edit::InputMethod: {
            QInputMethodEvent event;
            event.setCommitString(text);
            QApplication::sendEvent(editor.get(), &event);
            break;
        }
    }
    const QStringList lines = editor->textLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString::fromUtf8(c.expected));
    EXPECT_EQ(lines[1], "2*2 ==> 4 ") << "the next line's answer is never touched";
    // Whatever the user typed is expression text: not protected, not bold.
    const int line0 = static_cast<int>(lines[0].size());
    const QString expected = QString::fromUtf8(c.expected);
    const int plainEnd = expected.contains(" ==> ") ? expected.indexOf(" ==> ") : line0;
    for (int p = 0; p < plainEnd; ++p) {
        EXPECT_FALSE(editor->isProtectedAt(p)) << p;
        EXPECT_NE(formatAt(p).fontWeight(), QFont::Bold) << p;
    }
    if (expected.endsWith('x')) {
        EXPECT_FALSE(editor->isProtectedAt(line0 - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, ProtectedEditTest, testing::ValuesIn(kProtectedEdits),
                         [](const auto& info) { return std::string(info.param.name); });

// Drops `text` from another program at the character position `position`.
void DropText(TDocumentEditor* editor, int position, const QString& text) {
    QTextCursor at(editor->document());
    at.setPosition(position);
    const QPointF point = editor->cursorRect(at).center();
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &enter);
    QDragMoveEvent move(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &move);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &drop);
}

TEST_F(EditorTest, TextDroppedIntoAnAnswerStaysAndTheAnswerGoes) {
    show({"5*5 ==> 25 ", "1"});
    DropText(editor.get(), 9, "7");
    EXPECT_EQ(editor->textLines(), (QStringList{"5*57", "1"}));
    DropText(editor.get(), 6, "+1");
    EXPECT_EQ(editor->textLines(), (QStringList{"5*57", "1+1"})) << "plain text takes drops";
}

TEST_F(EditorTest, DroppedFilesGoToTheWindowNotIntoTheText) {
    show({"1"});
    QStringList dropped;
    editor->onFilesDropped = [&](const QStringList& paths) { dropped = paths; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/nowhere/a.tyq")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &drop);
    EXPECT_EQ(dropped, QStringList{"/nowhere/a.tyq"});
    EXPECT_EQ(editor->textLines(), QStringList{"1"});
}

TEST_F(EditorTest, SystemChangesUnderTheBusyMarkNeverTriggerTheCleanUp) {
    show({"1+2 ==> 3 "});
    TEditorLineDocument lines(*editor);
    lines.ReplaceAnsweredLine(0, "1+2 ==> 7 ; rewritten");
    EXPECT_EQ(editor->textLines().front(), "1+2 ==> 7 ; rewritten");
    EXPECT_TRUE(editor->isProtectedAt(3));
    EXPECT_FALSE(editor->busy());
}

TEST_F(EditorTest, ReturnIsNeverInsertedButCtrlReturnBreaksTheLine) {
    show({"12"});
    select(1, 1);
    QTest::keyClick(editor.get(), Qt::Key_Return);
    QTest::keyClick(editor.get(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(editor->textLines(), QStringList{"12"});
    QTest::keyClick(editor.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(editor->textLines(), (QStringList{"1", "2"}));
}

TEST_F(EditorTest, KeyDownHandlerSeesTheKeyAndCanSwallowIt) {
    show({""});
    std::vector<int> seen;
    editor->onKeyDown = [&](int& key, Qt::KeyboardModifiers) {
        seen.push_back(key);
        if (key == Qt::Key_B) key = 0;
    };
    QTest::keyClicks(editor.get(), "abc");
    EXPECT_EQ(editor->textLines(), QStringList{"ac"});
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_A, Qt::Key_B, Qt::Key_C}));
}

TEST_F(EditorTest, PasteTakesOnlyPlainText) {
    show({""});
    auto* data = new QMimeData;
    data->setHtml("<b>bold</b>");
    data->setText("bold");
    QApplication::clipboard()->setMimeData(data);
    editor->pastePlainText();
    EXPECT_EQ(editor->textLines(), QStringList{"bold"});
    EXPECT_NE(formatAt(0).fontWeight(), QFont::Bold);
}

struct LineCountCase {
    const char* name;
    const char* text;
    int count;
};
const LineCountCase kLineCounts[] = {
    {"EmptyTextHasNoLines", "", 0},
    {"OneLineWithoutBreak", "a", 1},
    {"TrailingBreakAddsNoLine", "a\n", 1},
    {"EmptyLineBetweenTwoBreaksCounts", "a\n\n", 2},
};

TEST_F(EditorTest, LineCountLeavesOutAnEmptyLastLine) {
    for (const LineCountCase& c : kLineCounts) {
        editor->setPlainText(QString::fromUtf8(c.text));
        EXPECT_EQ(editor->lineCount(), c.count) << c.name;
    }
}

TEST_F(EditorTest, LineDocumentCountsColumnsInUtf8Bytes) {
    show({"長さ:=2"});
    TEditorLineDocument lines(*editor);
    lines.SetCaret(0, 6);  // after the two three-byte characters
    EXPECT_EQ(editor->textCursor().position(), 2);
    EXPECT_EQ(lines.CaretColumn(), 6);
    EXPECT_EQ(lines.Line(0), "長さ:=2");
    lines.AppendEmptyLine();
    EXPECT_EQ(editor->textLines(), (QStringList{"長さ:=2", ""}));
    EXPECT_EQ(Utf16OffsetOfByteColumn("a😀b", 5), 3);
    EXPECT_EQ(ByteColumnOfUtf16Offset("a😀b", 3), 5);
}

TEST_F(EditorTest, ColoursDecodeBothEncodings) {
    EXPECT_EQ(ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456u);
    EXPECT_EQ(ToQColor(clWindow), QGuiApplication::palette().color(QPalette::Base));
    EXPECT_EQ(ToQColor(clWindowText), QGuiApplication::palette().color(QPalette::Text));
}

TEST_F(EditorTest, MissingFontFallsBackToAnInstalledMonospacedJapaneseFont) {
    const QFont font = DocumentFont("ＭＳ ゴシック", 9, false, false, false);
    EXPECT_TRUE(QFontDatabase::hasFamily(font.family())) << font.family().toStdString();
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0x8A08)));  // 計
}

}  // namespace
}  // namespace tallyon
