// Edit commands and enable rules in the real main window, driven offscreen: every rule in
// each situation it looks at, the design's keys and the platform's usual ones reaching their
// command, and the commands' effect on the text, the clipboard, the answers and the mark.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <ostream>
#include <string>

#include "app/EditCommands.h"
#include "app/WindowFixture.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << QString(text).replace(QChar(0x0A), QStringLiteral("⏎")).toStdString();
}

using namespace tallyon;

namespace {

// The document "5*5 ==> 25 " / "abc" freshly loaded, caret at the start, "X" on the clipboard.
class WindowEdit : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        start();
        QApplication::setActiveWindow(window.get());  // shortcuts need an active window
        load({"5*5 ==> 25 ", "abc"});
        window->UpdateTitleAndStatus();
        QApplication::clipboard()->setText("X");
    }

    void select(int start, int length) {
        QTextCursor c = editor()->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        editor()->setTextCursor(c);
    }
    QString text() const { return editor()->toPlainText(); }
    // Triggers `command` as a user would: once the idle pass has set its state.
    void run(const char* command) {
        window->idleUpdater().runNow();
        window->action(command)->trigger();
    }
};

// ---------------------------------------------------------------------------------------
// Enable rules

enum class Situation { Loaded, Selected, ClipboardEmpty, Edited, Empty, AfterCalculation };

struct RuleRow {
    const char* behaviour;
    Situation situation;
    const char* command;
    bool enabled;
};
void PrintTo(const RuleRow& row, std::ostream* os) {
    *os << row.behaviour;
}

const RuleRow kRuleRows[] = {
    {"copy_disabled_without_selection", Situation::Loaded, "AtnEditCopy", false},
    {"copy_enabled_with_selection", Situation::Selected, "AtnEditCopy", true},
    {"cut_follows_the_selection", Situation::Selected, "AtnEditCut", true},
    {"delete_disabled_without_selection", Situation::Loaded, "AtnEditDelete", false},
    {"delete_enabled_with_selection", Situation::Selected, "AtnEditDelete", true},
    {"paste_enabled_with_clipboard_text", Situation::Loaded, "AtnEditPaste", true},
    {"paste_disabled_with_empty_clipboard", Situation::ClipboardEmpty, "AtnEditPaste", false},
    {"undo_disabled_after_loading", Situation::Loaded, "AtnEditUndo", false},
    {"undo_enabled_after_an_edit", Situation::Edited, "AtnEditUndo", true},
    {"save_disabled_when_unmodified", Situation::Loaded, "AtnFileSave", false},
    {"save_enabled_after_an_edit", Situation::Edited, "AtnFileSave", true},
    {"calculate_again_enabled_with_lines", Situation::Loaded, "AtnTallyonReCalc", true},
    {"calculate_again_disabled_when_empty", Situation::Empty, "AtnTallyonReCalc", false},
    {"remove_answers_disabled_when_empty", Situation::Empty, "AtnTallyonRemoveAnswers", false},
    {"select_all_back_after_calculation", Situation::AfterCalculation, "AtnEditSelectAll", true},
    {"new_back_after_calculation", Situation::AfterCalculation, "AtnFileNew", true},
    {"save_as_back_after_calculation", Situation::AfterCalculation, "AtnFileSaveAs", true},
    {"calculate_back_after_calculation", Situation::AfterCalculation, "AtnTallyonCalculate", true},
    {"options_back_after_calculation", Situation::AfterCalculation, "AtnOptions", true},
    {"save_stays_off_after_calculation", Situation::AfterCalculation, "AtnFileSave", false},
};

class EnableRules : public WindowEdit, public testing::WithParamInterface<RuleRow> {};

TEST_P(EnableRules, EnableTheCommandExactlyWhenTheFactHolds) {
    const RuleRow& row = GetParam();
    switch (row.situation) {
        case Situation::Loaded:
            break;
        case Situation::Selected:
            select(12, 2);
            break;
        case Situation::ClipboardEmpty:
            QApplication::clipboard()->clear();
            break;
        case Situation::Edited:
            QTest::keyClicks(editor(), "7");
            break;
        case Situation::Empty:
            editor()->clearText();
            break;
        case Situation::AfterCalculation:
            window->DisableAllCommands();
            break;
    }
    QAction* action = window->action(row.command);
    ASSERT_NE(action, nullptr) << row.command;
    window->idleUpdater().runNow();
    EXPECT_EQ(action->isEnabled(), row.enabled);
}

INSTANTIATE_TEST_SUITE_P(Table, EnableRules, testing::ValuesIn(kRuleRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(WindowEdit, SimpleWindowIsCheckedExactlyInSimpleMode) {
    window->settingsRecord().OptSimpleMode = true;
    EXPECT_TRUE(enabled("AtnOptionsSimpleWindow"));
    EXPECT_TRUE(window->action("AtnOptionsSimpleWindow")->isChecked());
    window->settingsRecord().OptSimpleMode = false;
    window->idleUpdater().runNow();
    EXPECT_FALSE(window->action("AtnOptionsSimpleWindow")->isChecked());
}

// ---------------------------------------------------------------------------------------
// Keys

struct KeyRow {
    const char* behaviour;
    QKeyCombination key;
    const char* lineAfter;  // "abc" with "b" selected before the key
    const char* clipboardAfter;
};
void PrintTo(const KeyRow& row, std::ostream* os) {
    *os << row.behaviour;
}

const KeyRow kKeyRows[] = {
    {"ctrl_delete_deletes_the_selection", Qt::CTRL | Qt::Key_Delete, "ac", "X"},
    {"shift_delete_cuts", Qt::SHIFT | Qt::Key_Delete, "ac", "b"},
    {"ctrl_x_cuts", Qt::CTRL | Qt::Key_X, "ac", "b"},
    {"ctrl_insert_copies", Qt::CTRL | Qt::Key_Insert, "abc", "b"},
    {"ctrl_c_copies", Qt::CTRL | Qt::Key_C, "abc", "b"},
    {"shift_insert_pastes", Qt::SHIFT | Qt::Key_Insert, "aXc", "X"},
    {"ctrl_v_pastes", Qt::CTRL | Qt::Key_V, "aXc", "X"},
};

class WindowKeys : public WindowEdit, public testing::WithParamInterface<KeyRow> {};

TEST_P(WindowKeys, ReachTheirCommand) {
    const KeyRow& row = GetParam();
    select(13, 1);
    window->idleUpdater().runNow();
    press(row.key.key(), row.key.keyboardModifiers());
    EXPECT_EQ(editor()->document()->lastBlock().text(), QString::fromUtf8(row.lineAfter));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(row.clipboardAfter));
}

INSTANTIATE_TEST_SUITE_P(Table, WindowKeys, testing::ValuesIn(kKeyRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(WindowEdit, AltBackspaceAndCtrlZUndo) {
    for (QKeyCombination undo : {Qt::ALT | Qt::Key_Backspace, Qt::CTRL | Qt::Key_Z}) {
        select(13, 1);
        run("AtnEditDelete");
        ASSERT_EQ(text(), "5*5 ==> 25 \nac");
        window->idleUpdater().runNow();
        press(undo.key(), undo.keyboardModifiers());
        EXPECT_EQ(text(), "5*5 ==> 25 \nabc");
    }
}

TEST_F(WindowEdit, CtrlASelectsTheWholeDocument) {
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor()->textCursor().selectionStart(), 0);
    EXPECT_EQ(editor()->textCursor().selectionEnd(), text().size());
}

TEST_F(WindowEdit, MenusShowTheDesignKeys) {
    EXPECT_EQ(window->action("AtnFileOpen")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->action("AtnFileSave")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(window->action("AtnEditUndo")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(window->action("AtnEditCut")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_EQ(window->action("AtnEditCopy")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    EXPECT_EQ(window->action("AtnEditPaste")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(window->action("AtnEditDelete")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

// ---------------------------------------------------------------------------------------
// Effects

TEST_F(WindowEdit, PasteOfFormattedTextInsertsOnlyItsPlainText) {
    auto* data = new QMimeData;
    data->setHtml("<b style='color:red'>7</b>");
    data->setText("7");
    QApplication::clipboard()->setMimeData(data);
    select(12, 3);  // "abc"
    run("AtnEditPaste");
    EXPECT_EQ(text(), "5*5 ==> 25 \n7");
    QTextCursor c(editor()->document());
    c.setPosition(13);  // the pasted character
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Normal);
    EXPECT_FALSE(editor()->isProtectedAt(12));
    EXPECT_EQ(window->statusPanelText(0), "Modified");
}

TEST_F(WindowEdit, DeletingIntoAnAnswerRemovesTheWholeAnswer) {
    select(9, 1);  // the "5" of the answer 25
    run("AtnEditDelete");
    EXPECT_EQ(editor()->document()->firstBlock().text(), "5*5");
}

TEST_F(WindowEdit, OnlyCommandsThatChangeTheDocumentShowTheMark) {
    select(12, 1);
    run("AtnEditCopy");
    run("AtnEditSelectAll");
    EXPECT_EQ(window->statusPanelText(0), "");
    select(12, 1);
    run("AtnEditCut");
    EXPECT_EQ(window->statusPanelText(0), "Modified");
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    run("AtnEditUndo");  // back to the loaded text, so the mark goes
    EXPECT_EQ(text(), "5*5 ==> 25 \nabc");
    EXPECT_EQ(window->statusPanelText(0), "");
}

}  // namespace
