// Undo and the modified state in the real main window: the "Modified" mark and Save follow
// whether the text differs from what was last loaded or saved, whatever Undo and Redo did to
// the editor's history, and an edit that touches an answer comes back in one Undo step with
// the answer's colours and protection.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <vector>

#include <ostream>

#include "app/WindowFixture.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tallyon {
namespace {

// The window started and made active, so that the commands' shortcuts (Ctrl+Z, F2) reach
// them as they reach them for the user.
class ActiveWindow : public WindowFixture {
protected:
    void startActive() {
        start();
        QApplication::setActiveWindow(window.get());
    }
};

enum class Step { Type, Return, Undo, Redo, Save };

struct StepOf {
    Step step;
    const char* text = "";  // typed text for Step::Type
};

struct ModifiedRow {
    const char* behaviour;
    std::vector<StepOf> steps;
    QStringList lines;  // the document afterwards
    bool modified;
};

const ModifiedRow kModifiedRows[] = {
    {"undo_of_a_calculation_keeps_the_typed_text_modified",
     {{Step::Type, "1+2"}, {Step::Return}, {Step::Undo}},
     {"1+2"},
     true},
    {"redo_of_the_calculation_stays_modified",
     {{Step::Type, "1+2"}, {Step::Return}, {Step::Undo}, {Step::Redo}},
     {"1+2 ==> 3 ", ""},
     true},
    {"undo_after_saving_is_modified_again",
     {{Step::Type, "1+2"}, {Step::Return}, {Step::Save}, {Step::Undo}},
     {"1+2"},
     true},
    {"undo_redo_undo_after_saving_is_modified",
     {{Step::Type, "1+2"}, {Step::Return}, {Step::Save}, {Step::Undo}, {Step::Redo}, {Step::Undo}},
     {"1+2"},
     true},
    {"undo_of_typing_after_saving_is_unmodified",
     {{Step::Type, "1+2"}, {Step::Save}, {Step::Type, "*4"}, {Step::Undo}},
     {"1+2"},
     false},
    {"two_calculations_undone_stay_modified",
     {{Step::Type, "1"}, {Step::Return}, {Step::Type, "2"}, {Step::Return}, {Step::Undo}},
     {"1 ==> 1 ", "2"},
     true},
};

void PrintTo(const ModifiedRow& row, std::ostream* os) {
    *os << row.behaviour;
}

class ModifiedAfter : public ActiveWindow, public testing::WithParamInterface<ModifiedRow> {
protected:
    void run(const StepOf& s) {
        window->idleUpdater().runNow();  // commands come back after a calculation
        switch (s.step) {
            case Step::Type:
                QTest::keyClicks(editor(), QString::fromUtf8(s.text));
                break;
            case Step::Return:
                press(Qt::Key_Return);
                break;
            case Step::Undo:
                press(Qt::Key_Z, Qt::ControlModifier);
                break;
            case Step::Redo:
                press(Qt::Key_Y, Qt::ControlModifier);
                break;
            case Step::Save:
                prompts.files.push_back(folder.filePath("a.tyq"));
                press(Qt::Key_F2);
                break;
        }
    }
};

TEST_P(ModifiedAfter, MarkAndSaveFollowTheSavedText) {
    const ModifiedRow& row = GetParam();
    startActive();
    window->action("AtnFileNew")->trigger();
    for (const StepOf& s : row.steps)
        run(s);
    EXPECT_EQ(lines(), row.lines);
    EXPECT_EQ(window->statusPanelText(0), row.modified ? "Modified" : "");
    EXPECT_EQ(enabled("AtnFileSave"), row.modified);
}

INSTANTIATE_TEST_SUITE_P(Table, ModifiedAfter, testing::ValuesIn(kModifiedRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(ActiveWindow, ExitAfterUndoingACalculationAsksBeforeDiscarding) {
    startActive();
    window->settingsRecord().OptQueryDiscard = true;
    QTest::keyClicks(editor(), "1+2");
    press(Qt::Key_Return);
    window->idleUpdater().runNow();
    press(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(lines(), QStringList{"1+2"});
    prompts.answers.push_back(PromptButton::Cancel);
    window->action("AtnFileExit")->trigger();
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ActiveWindow, RedoOfACalculationBringsBackTheAnswerColouredAndProtected) {
    startActive();
    QTest::keyClicks(editor(), "1+2");
    press(Qt::Key_Return);
    window->idleUpdater().runNow();
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(lines(), (QStringList{"1+2 ==> 3 ", ""}));
    QTextCursor answer(editor()->document());
    answer.setPosition(9);
    EXPECT_TRUE(editor()->isProtectedAt(3));
    EXPECT_TRUE(editor()->isProtectedAt(8));
    EXPECT_EQ(answer.charFormat().fontWeight(), QFont::Bold);
}

// ---------------------------------------------------------------------------------------
// An edit that touches an answer and its clean-up are one step

enum class Edit { Type, Backspace, Delete, Paste };

struct CleanUpRow {
    const char* behaviour;
    const char* line;
    int anchor, position;  // the selection before the edit
    Edit edit;
    const char* text;     // typed or pasted
    const char* cleaned;  // the line after the edit and its clean-up
};

const CleanUpRow kCleanUpRows[] = {
    {"digit_typed_inside_the_answer", "R1//R2 ==> 1803.27868852459005 ", 26, 26, Edit::Type, "7",
     "R1//R27"},
    {"backspace_inside_the_answer", "5*5 ==> 25 ", 9, 9, Edit::Backspace, "", "5*5"},
    {"delete_of_the_arrows_first_blank", "5*5 ==> 25 ", 3, 3, Edit::Delete, "", "5*5"},
    {"typing_over_a_selection_into_the_answer", "1+2 ==> 3 ", 2, 9, Edit::Type, "5", "1+5"},
    {"paste_into_the_answer", "5*5 ==> 25 ", 8, 9, Edit::Paste, "99", "5*599"},
};

void PrintTo(const CleanUpRow& row, std::ostream* os) {
    *os << row.behaviour;
}

class CleanUpUndo : public ActiveWindow, public testing::WithParamInterface<CleanUpRow> {
protected:
    void select(int anchor, int position) {
        QTextCursor c(editor()->document());
        c.setPosition(anchor);
        c.setPosition(position, QTextCursor::KeepAnchor);
        editor()->setTextCursor(c);
    }
    QTextCharFormat formatAt(int position) const {
        QTextCursor c(editor()->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
};

TEST_P(CleanUpUndo, OneUndoRestoresTheAnswerWithItsColours) {
    const CleanUpRow& row = GetParam();
    startActive();
    const QString line = QString::fromUtf8(row.line);
    load({line, "1"});
    select(row.anchor, row.position);
    switch (row.edit) {
        case Edit::Type:
            QTest::keyClicks(editor(), QString::fromUtf8(row.text));
            break;
        case Edit::Backspace:
            press(Qt::Key_Backspace);
            break;
        case Edit::Delete:
            press(Qt::Key_Delete);
            break;
        case Edit::Paste:
            QApplication::clipboard()->setText(QString::fromUtf8(row.text));
            press(Qt::Key_V, Qt::ControlModifier);
            break;
    }
    ASSERT_EQ(lines(), (QStringList{QString::fromUtf8(row.cleaned), "1"}));

    window->idleUpdater().runNow();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(lines(), (QStringList{line, "1"}));
    const int arrow = static_cast<int>(line.indexOf(" ==> "));
    for (int p = 0; p < line.size(); ++p) {
        const bool inAnswer = p >= arrow + 5;
        EXPECT_EQ(editor()->isProtectedAt(p), p >= arrow) << p;
        EXPECT_EQ(formatAt(p).fontWeight() == QFont::Bold, inAnswer) << p;
        if (p >= arrow) {
            EXPECT_EQ(formatAt(p).foreground().color(),
                      inAnswer ? QColor(0, 128, 0) : QColor(255, 0, 0))
                << p;
        }
    }
    EXPECT_EQ(window->statusPanelText(0), "") << "back to the loaded text";

    // Redo brings back the edit and its clean-up together.
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(lines(), (QStringList{QString::fromUtf8(row.cleaned), "1"}));
}

INSTANTIATE_TEST_SUITE_P(Table, CleanUpUndo, testing::ValuesIn(kCleanUpRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

}  // namespace
}  // namespace tallyon
