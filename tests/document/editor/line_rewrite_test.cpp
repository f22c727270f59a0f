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
    {"Japanese", "あ ==> 1", true, "あい ==> 12", true},
    {"EmptyLine", "", true, "", false},
};
INSTANTIATE_TEST_SUITE_P(Cases, LineRewriteTest, testing::ValuesIn(kRewriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tallyon
