// The line actions as the user sees them in the real main window: a line written back
// without an answer is plain expression text even when it still holds an arrow, and Line
// break splits the line where the caret stood, however many blanks stripping removed.
#include <QAction>
#include <QTextBlock>

#include <ostream>

#include "app/WindowFixture.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tallyon {
namespace {

// How a row rewrites its line: a Return key with modifiers, or the Remove answers command.
enum class Rewrite { Key, RemoveAnswers };

struct PlainRow {
    const char* behaviour;
    const char* line;
    int column;
    Rewrite rewrite;
    Qt::KeyboardModifiers modifiers;
    QStringList expected;
};

// clang-format off
const PlainRow kPlainRows[] = {
    {"carriage_return_keeps_the_body_plain", "a >>> b ==> c", 0, Rewrite::Key, Qt::ShiftModifier,
     {"a >>> b", ""}},
    {"line_break_keeps_both_halves_plain", "a >>> b ==> c", 1, Rewrite::Key, Qt::ControlModifier,
     {"a", " >>> b"}},
    {"remove_answers_keeps_the_body_plain", "a >>> b ==> c", 0, Rewrite::RemoveAnswers, {},
     {"a >>> b"}},
    {"silent_line_keeps_its_body_plain", "x:=3 $ >>> 1 ==> 2", 0, Rewrite::Key, Qt::NoModifier,
     {"x:=3 $ >>> 1", ""}},
    {"comment_only_line_keeps_its_body_plain", "; a >>> b ==> c", 0, Rewrite::Key,
     Qt::NoModifier, {"; a >>> b", ""}},
};
// clang-format on

void PrintTo(const PlainRow& row, std::ostream* os) {
    *os << row.behaviour;
}

class PlainRewrite : public WindowFixture, public testing::WithParamInterface<PlainRow> {};

TEST_P(PlainRewrite, LeavesNoColourBoldOrProtection) {
    const PlainRow& row = GetParam();
    start();
    load({QString::fromUtf8(row.line)});
    caretTo(0, row.column);
    if (row.rewrite == Rewrite::Key) {
        press(Qt::Key_Return, row.modifiers);
    } else {
        prompts.answers.push_back(PromptButton::Yes);
        window->action("AtnTallyonRemoveAnswers")->trigger();
    }
    ASSERT_EQ(lines(), row.expected);
    const int size = editor()->document()->characterCount() - 1;
    for (int p = 0; p < size; ++p) {
        QTextCursor c(editor()->document());
        c.setPosition(p + 1);
        EXPECT_FALSE(editor()->isProtectedAt(p)) << p;
        EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold) << p;
        EXPECT_FALSE(c.charFormat().hasProperty(QTextFormat::ForegroundBrush)) << p;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PlainRewrite, testing::ValuesIn(kPlainRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

struct BreakRow {
    const char* behaviour;
    const char* line;
    int column;
    QStringList expected;
    int caretLine, caretColumn;
};

const BreakRow kBreakRows[] = {
    {"indented_line_breaks_at_the_caret", "   1234", 5, {"12", "34"}, 1, 0},
    {"indented_answered_line_breaks_at_the_caret", "   12 ==> 12 ", 4, {"1", "2"}, 1, 0},
    {"caret_in_the_indent_breaks_before_the_body", "   12", 1, {"", "12"}, 1, 0},
};

void PrintTo(const BreakRow& row, std::ostream* os) {
    *os << row.behaviour;
}

class LineBreak : public WindowFixture, public testing::WithParamInterface<BreakRow> {};

TEST_P(LineBreak, SplitsWhereTheCaretStood) {
    const BreakRow& row = GetParam();
    start();
    type({QString::fromUtf8(row.line)}, 0, row.column);
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(lines(), row.expected);
    EXPECT_EQ(caretLine(), row.caretLine);
    EXPECT_EQ(caretColumn(), row.caretColumn);
}

INSTANTIATE_TEST_SUITE_P(Table, LineBreak, testing::ValuesIn(kBreakRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

}  // namespace
}  // namespace tallyon
