// Edit commands on the real document editor and the enable rules of the main window's
// commands: each rule against the facts it looks at, and the editing commands' effect on the
// text, the clipboard and the answers' protection.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/EditCommands.h"
#include "app/IdleUpdater.h"
#include "app/MainWnd.h"
#include "app/WindowFixture.h"
#include "document/editor/DocumentEditor.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << QString(text).replace(QChar(0x0A), QStringLiteral("⏎")).toStdString();
}

using namespace tallyon;

namespace {

// ---------------------------------------------------------------------------------------
// Enable rules

struct RuleRow {
    const char* behaviour;
    const char* command;
    CommandState state;
    bool enabled;
};
void PrintTo(const RuleRow& row, std::ostream* os) {
    *os << row.behaviour;
}

CommandState with(bool CommandState::*fact) {
    CommandState s;
    s.*fact = true;
    return s;
}

const RuleRow kRuleRows[] = {
    {"copy_disabled_without_selection", "AtnEditCopy", {}, false},
    {"copy_enabled_with_selection", "AtnEditCopy", with(&CommandState::hasSelection), true},
    {"cut_follows_the_selection", "AtnEditCut", with(&CommandState::hasSelection), true},
    {"cut_ignores_the_clipboard", "AtnEditCut", with(&CommandState::clipboardHasText), false},
    {"delete_follows_the_selection", "AtnEditDelete", {}, false},
    {"paste_needs_text_on_the_clipboard", "AtnEditPaste", {}, false},
    {"paste_enabled_with_clipboard_text", "AtnEditPaste", with(&CommandState::clipboardHasText),
     true},
    {"paste_ignores_the_selection", "AtnEditPaste", with(&CommandState::hasSelection), false},
    {"undo_needs_history", "AtnEditUndo", with(&CommandState::modified), false},
    {"undo_enabled_with_history", "AtnEditUndo", with(&CommandState::canUndo), true},
    {"save_disabled_when_unmodified", "AtnFileSave", with(&CommandState::canUndo), false},
    {"save_enabled_when_modified", "AtnFileSave", with(&CommandState::modified), true},
    {"calculate_again_needs_a_line", "AtnTallyonReCalc", {}, false},
    {"remove_answers_enabled_with_a_line", "AtnTallyonRemoveAnswers", with(&CommandState::hasLines),
     true},
    {"save_as_always", "AtnFileSaveAs", {}, true},
    {"select_all_always", "AtnEditSelectAll", {}, true},
    {"calculate_always", "AtnTallyonCalculate", {}, true},
    {"insert_commands_always", "AtnInsertConstPI", {}, true},
};

class EnableRules : public testing::TestWithParam<RuleRow> {};

TEST_P(EnableRules, EnableTheCommandExactlyWhenTheFactHolds) {
    const RuleRow& row = GetParam();
    EXPECT_EQ(RuleHolds(RuleOf(QString::fromLatin1(row.command)), row.state), row.enabled);
}

INSTANTIATE_TEST_SUITE_P(Table, EnableRules, testing::ValuesIn(kRuleRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// After a calculation disabled every command, an idle pass gives each its state back.
TEST(ApplyEnableRules, ReenablesEveryCommandAndChecksSimpleWindow) {
    EnsureApplication();
    std::vector<std::unique_ptr<QAction>> owned;
    QList<QAction*> actions;
    for (const char* name : {"AtnFileNew", "AtnFileSave", "AtnEditCopy", "AtnEditSelectAll",
                             "AtnOptionsSimpleWindow", "AtnOptionRegistry"}) {
        owned.push_back(std::make_unique<QAction>());
        owned.back()->setObjectName(QString::fromLatin1(name));
        owned.back()->setEnabled(false);
        actions << owned.back().get();
    }
    actions[4]->setCheckable(true);
    CommandState state;
    state.simpleMode = true;
    ApplyEnableRules(actions, state);
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isEnabled());  // not modified
    EXPECT_FALSE(actions[2]->isEnabled());  // nothing selected
    EXPECT_TRUE(actions[3]->isEnabled());
    EXPECT_TRUE(actions[4]->isEnabled());
    EXPECT_TRUE(actions[4]->isChecked());
    EXPECT_TRUE(actions[5]->isEnabled());
    state.simpleMode = false;
    ApplyEnableRules(actions, state);
    EXPECT_FALSE(actions[4]->isChecked());
}

TEST(EditShortcuts, DesignKeysFirstThenThePlatformsUsualOnes) {
    EnsureApplication();
    const QList<QKeySequence> undo = EditShortcutsOf(u"AtnEditUndo");
    ASSERT_EQ(undo.size(), 2);
    EXPECT_EQ(undo[0], QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(undo[1], QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(EditShortcutsOf(u"AtnEditCut").first(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_EQ(EditShortcutsOf(u"AtnEditCopy").first(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    EXPECT_EQ(EditShortcutsOf(u"AtnEditPaste").first(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(EditShortcutsOf(u"AtnEditDelete").first(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_TRUE(EditShortcutsOf(u"AtnFileOpen").isEmpty());
    EXPECT_EQ(AllEditShortcuts().size(), 10);
}

// ---------------------------------------------------------------------------------------
// Editing commands on the document editor

class EditCommandsOnEditor : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        editor = std::make_unique<TDocumentEditor>();
        editor->showLines({"5*5 ==> 25 ", "1+2"});
        QApplication::clipboard()->clear();
    }

    // Selects `length` characters from `start`.
    void select(int start, int length) {
        QTextCursor c = editor->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        editor->setTextCursor(c);
    }
    QString text() const { return editor->toPlainText(); }

    std::unique_ptr<TDocumentEditor> editor;
};

TEST_F(EditCommandsOnEditor, PasteOfFormattedTextInsertsOnlyItsPlainText) {
    auto* data = new QMimeData;
    data->setHtml("<b style='color:red'>7</b>");
    data->setText("7");
    QApplication::clipboard()->setMimeData(data);
    EXPECT_TRUE(ReadCommandState(*editor, false).clipboardHasText);
    select(12, 3);  // "1+2"
    EditPaste(*editor);
    EXPECT_EQ(text(), "5*5 ==> 25 \n7");
    QTextCursor c(editor->document());
    c.setPosition(13);  // format of the pasted character
    EXPECT_FALSE(c.charFormat().fontWeight() > QFont::Normal);
    EXPECT_FALSE(editor->isProtectedAt(12));
    EXPECT_TRUE(editor->document()->isModified());
}

TEST_F(EditCommandsOnEditor, CutAndCopyPutTheSelectionOnTheClipboard) {
    select(12, 3);
    EditCopy(*editor);
    EXPECT_EQ(QApplication::clipboard()->text(), "1+2");
    EXPECT_FALSE(editor->document()->isModified());
    select(0, 3);
    EditCut(*editor);
    EXPECT_EQ(QApplication::clipboard()->text(), "5*5");
    EXPECT_EQ(text(), " ==> 25 \n1+2");  // the answer beside the cut is not touched
}

TEST_F(EditCommandsOnEditor, DeleteRemovesWithoutTouchingTheClipboard) {
    QApplication::clipboard()->setText("kept");
    select(12, 2);
    EditDelete(*editor);
    EXPECT_EQ(text(), "5*5 ==> 25 \n2");
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST_F(EditCommandsOnEditor, DeletingIntoAnAnswerRemovesTheWholeAnswer) {
    select(9, 1);  // the "5" of the answer 25
    EditDelete(*editor);
    EXPECT_EQ(editor->document()->firstBlock().text(), "5*5");
}

TEST_F(EditCommandsOnEditor, UndoRevertsAndStateFollows) {
    CommandState before = ReadCommandState(*editor, false);
    EXPECT_FALSE(before.canUndo);  // loading leaves no history
    EXPECT_FALSE(before.modified);
    EXPECT_TRUE(before.hasLines);
    select(12, 3);
    EXPECT_TRUE(ReadCommandState(*editor, false).hasSelection);
    EditDelete(*editor);
    const CommandState after = ReadCommandState(*editor, false);
    EXPECT_TRUE(after.canUndo);
    EXPECT_TRUE(after.modified);
    EditUndo(*editor);
    EXPECT_EQ(text(), "5*5 ==> 25 \n1+2");
}

TEST_F(EditCommandsOnEditor, SelectAllSelectsTheWholeDocument) {
    EditSelectAll(*editor);
    EXPECT_EQ(editor->textCursor().selectionStart(), 0);
    EXPECT_EQ(editor->textCursor().selectionEnd(), text().size());
    editor->clearText();
    EXPECT_FALSE(ReadCommandState(*editor, false).hasLines);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The commands in the real window: their keys, and the enable rules on idle

namespace {

class WindowEdit : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        start();
        QApplication::setActiveWindow(window.get());  // shortcuts need an active window
        window->REdit1->showLines({"abc"});
        window->UpdateTitleAndStatus();
        QApplication::clipboard()->setText("X");
    }

    void select(int start, int length) {
        QTextCursor c = window->REdit1->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        window->REdit1->setTextCursor(c);
        window->idleUpdater().runNow();
    }
    QString text() const { return window->REdit1->toPlainText(); }
};

struct KeyRow {
    const char* behaviour;
    QKeyCombination key;
    const char* textAfter;
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
    select(1, 1);
    QTest::keyClick(window->REdit1, row.key.key(), row.key.keyboardModifiers());
    EXPECT_EQ(text(), QString::fromUtf8(row.textAfter));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(row.clipboardAfter));
}

INSTANTIATE_TEST_SUITE_P(Table, WindowKeys, testing::ValuesIn(kKeyRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(WindowEdit, AltBackspaceAndCtrlZUndo) {
    for (QKeyCombination undo : {Qt::ALT | Qt::Key_Backspace, Qt::CTRL | Qt::Key_Z}) {
        select(1, 1);
        window->action("AtnEditDelete")->trigger();
        ASSERT_EQ(text(), "ac");
        window->idleUpdater().runNow();
        QTest::keyClick(window->REdit1, undo.key(), undo.keyboardModifiers());
        EXPECT_EQ(text(), "abc");
    }
}

TEST_F(WindowEdit, CommandsThatChangeTheDocumentShowTheMark) {
    EXPECT_EQ(window->statusPanelText(0), "");
    select(0, 1);
    window->action("AtnEditCopy")->trigger();
    EXPECT_EQ(window->statusPanelText(0), "");  // copying changes nothing
    window->action("AtnEditCut")->trigger();
    EXPECT_EQ(window->statusPanelText(0), "Modified");
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
}

TEST_F(WindowEdit, EnableRulesFollowSelectionClipboardHistoryAndLines) {
    EXPECT_FALSE(enabled("AtnEditCopy"));
    EXPECT_FALSE(enabled("AtnEditCut"));
    EXPECT_FALSE(enabled("AtnEditDelete"));
    EXPECT_FALSE(enabled("AtnEditUndo"));
    EXPECT_FALSE(enabled("AtnFileSave"));
    EXPECT_TRUE(enabled("AtnEditPaste"));
    EXPECT_TRUE(enabled("AtnTallyonReCalc"));
    select(0, 2);
    EXPECT_TRUE(enabled("AtnEditCopy"));
    EXPECT_TRUE(enabled("AtnEditDelete"));
    QApplication::clipboard()->clear();
    EXPECT_FALSE(enabled("AtnEditPaste"));
    window->action("AtnEditDelete")->trigger();
    EXPECT_TRUE(enabled("AtnEditUndo"));
    EXPECT_TRUE(enabled("AtnFileSave"));
    window->REdit1->clearText();
    EXPECT_FALSE(enabled("AtnTallyonReCalc"));
    EXPECT_FALSE(enabled("AtnTallyonRemoveAnswers"));
}

TEST_F(WindowEdit, IdlePassReenablesEveryCommandAfterACalculation) {
    window->DisableAllCommands();
    EXPECT_FALSE(window->action("AtnEditSelectAll")->isEnabled());
    window->idleUpdater().runNow();
    for (const char* name : {"AtnEditSelectAll", "AtnFileNew", "AtnFileOpen", "AtnFileSaveAs",
                             "AtnTallyonCalculate", "AtnOptions", "AtnFileExit"})
        EXPECT_TRUE(window->action(name)->isEnabled()) << name;
    EXPECT_FALSE(window->action("AtnFileSave")->isEnabled());
}

TEST_F(WindowEdit, MenusShowTheDesignKeys) {
    EXPECT_EQ(window->action("AtnFileOpen")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->action("AtnFileSave")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(window->action("AtnEditUndo")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(window->action("AtnEditPaste")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
}

}  // namespace
