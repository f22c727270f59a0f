// The command table seen from the window: every command a user can reach in a menu, on the
// tool bar or in the context menu does something the user can see, the desktop's usual keys
// reach their commands beside the design's, and hints never hide the status panels.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <set>
#include <string>

#include "app/CommandTable.h"
#include "app/WindowFixture.h"

using namespace tallyon;

namespace {

// Every action a user can reach: in the menu bar's menus and submenus, on the tool bar and in
// the context menu, separators and submenu entries left out.
void collect(const QList<QAction*>& actions, std::set<QAction*>& out) {
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        if (QMenu* menu = a->menu())
            collect(menu->actions(), out);
        else
            out.insert(a);
    }
}

std::set<QAction*> visibleActions(const TFrmMain& window) {
    std::set<QAction*> out;
    collect(window.MainMenu1->actions(), out);
    collect(window.ToolBar1->actions(), out);
    collect(window.PopupMenu1->actions(), out);
    return out;
}

// What a user can see of the window, to tell whether a command did anything.
struct Seen {
    QString text;
    int selectionStart = 0, selectionEnd = 0;
    QString title, status, clipboard;
    bool canUndo = false, canRedo = false, visible = false, menuBarShown = false;
    QList<bool> checks;
    std::size_t prompts = 0;
    bool operator==(const Seen&) const = default;
};

class CommandTable : public WindowFixture {
protected:
    // "91+2" typed, the "9" undone, so both Undo and Redo have work; "1" selected; "X" on
    // the clipboard.
    void prepare() {
        start();
        QApplication::setActiveWindow(window.get());
        QTest::keyClicks(editor(), "1+2");
        caretTo(0, 0);
        QTest::keyClick(editor(), Qt::Key_9);
        editor()->undo();
        QTextCursor c = editor()->textCursor();
        c.setPosition(0);
        c.setPosition(1, QTextCursor::KeepAnchor);
        editor()->setTextCursor(c);
        QApplication::clipboard()->setText("X");
        window->UpdateTitleAndStatus();
        window->idleUpdater().runNow();
    }
    Seen seen() const {
        Seen s;
        s.text = editor()->toPlainText();
        s.selectionStart = editor()->textCursor().selectionStart();
        s.selectionEnd = editor()->textCursor().selectionEnd();
        s.title = window->windowTitle();
        s.status = window->statusPanelText(0);
        s.clipboard = QApplication::clipboard()->text();
        s.canUndo = editor()->document()->isUndoAvailable();
        s.canRedo = editor()->document()->isRedoAvailable();
        s.visible = window->isVisible();
        s.menuBarShown = window->MainMenu1->isVisible();
        for (QAction* a : window->ActionList1)
            s.checks << a->isChecked();
        s.prompts = prompts.asked.size();
        return s;
    }
};

TEST_F(CommandTable, EveryReachableActionIsARowWithAHandler) {
    start();
    const std::set<QAction*> actions = visibleActions(*window);
    ASSERT_GE(actions.size(), 20u);
    for (QAction* a : actions) {
        const QByteArray name = a->objectName().toLatin1();
        const CommandRow* row = FindCommand(name.constData());
        ASSERT_NE(row, nullptr) << name.constData() << " is not a command of the table";
        EXPECT_NE(row->handler, nullptr) << name.constData();
    }
}

// Triggered in a window where its enable rule holds, each command changes what the user sees
// or asks or tells the user something: none silently does nothing.
TEST_F(CommandTable, EveryCommandDoesSomethingTheUserSees) {
    for (const CommandRow& row : Commands()) {
        SCOPED_TRACE(row.name);
        prompts.asked.clear();
        prepare();
        QAction* a = window->action(row.name);
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        const Seen before = seen();
        a->trigger();
        EXPECT_FALSE(seen() == before) << row.name << " did nothing the user can see";
        window.reset();
    }
}

TEST_F(CommandTable, CommandsNotBuiltYetSaySoInTheChosenLanguage) {
    prepare();
    for (int language : {1, 2}) {
        prompts.asked.clear();
        window->settingsRecord().Language = language;
        window->action("AtnHelpAbout")->trigger();
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked[0].text, language == 1
                                             ? QString("This command is not available yet.")
                                             : QString::fromUtf8("このコマンドはまだ使えません。"));
    }
}

// ---------------------------------------------------------------------------------------
// Keys

struct UsualKey {
    const char* behaviour;
    const char* command;
    QKeyCombination key;
};
void PrintTo(const UsualKey& row, std::ostream* os) {
    *os << row.behaviour;
}

const UsualKey kUsualKeys[] = {
    {"ctrl_n_creates_new", "AtnFileNew", Qt::CTRL | Qt::Key_N},
    {"ctrl_o_opens", "AtnFileOpen", Qt::CTRL | Qt::Key_O},
    {"ctrl_s_saves", "AtnFileSave", Qt::CTRL | Qt::Key_S},
    {"ctrl_shift_s_saves_as", "AtnFileSaveAs", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {"ctrl_q_exits", "AtnFileExit", Qt::CTRL | Qt::Key_Q},
    {"ctrl_y_redoes", "AtnEditRedo", Qt::CTRL | Qt::Key_Y},
    {"ctrl_shift_z_redoes", "AtnEditRedo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
    {"ctrl_z_undoes", "AtnEditUndo", Qt::CTRL | Qt::Key_Z},
};

class UsualKeys : public CommandTable, public testing::WithParamInterface<UsualKey> {};

TEST_P(UsualKeys, ReachTheirCommandBesideTheDesignsKey) {
    const UsualKey& row = GetParam();
    prepare();
    const QList<QKeySequence> keys = window->action(row.command)->shortcuts();
    EXPECT_TRUE(keys.contains(QKeySequence(row.key))) << row.command;
    // The design's key stays the one menus show.
    const CommandRow* command = FindCommand(row.command);
    if (*command->keys) {
        EXPECT_EQ(keys.front(), QKeySequence(QString::fromLatin1(command->keys).split(", ")[0]));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UsualKeys, testing::ValuesIn(kUsualKeys),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(CommandTable, RedoKeyBringsBackWhatUndoTookAway) {
    prepare();
    ASSERT_EQ(editor()->toPlainText(), "1+2");
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "91+2");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), "1+2");
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor()->toPlainText(), "91+2");
}

TEST_F(CommandTable, RedoIsEnabledOnlyWhenThereIsSomethingToRedo) {
    prepare();
    EXPECT_TRUE(enabled("AtnEditRedo"));
    window->action("AtnEditRedo")->trigger();
    EXPECT_FALSE(enabled("AtnEditRedo"));
}

// ---------------------------------------------------------------------------------------
// Hints

TEST_F(CommandTable, HintsShowInTheSecondPanelAndNeverHideTheModifiedMark) {
    prepare();
    ASSERT_EQ(window->statusPanelText(0), "Modified");
    QStatusTipEvent tip("Open");
    QApplication::sendEvent(window.get(), &tip);
    QList<QLabel*> panels = window->SBar1->findChildren<QLabel*>();
    for (QLabel* panel : panels)
        EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(window->statusPanelText(0), "Modified");
    EXPECT_EQ(window->statusPanelText(1), "Open");
    EXPECT_TRUE(window->SBar1->currentMessage().isEmpty());
    QStatusTipEvent none("");
    QApplication::sendEvent(window.get(), &none);
    EXPECT_EQ(window->statusPanelText(0), "Modified");
    EXPECT_EQ(window->statusPanelText(1), "");
}

TEST_F(CommandTable, HoveringAMenuEntryKeepsThePanels) {
    prepare();
    QMenu* file = window->MainMenu1->findChild<QMenu*>("File1");
    ASSERT_NE(file, nullptr);
    file->popup(QPoint(0, 0));
    QTest::qWait(20);
    const QRect entry = file->actionGeometry(window->action("AtnFileOpen"));
    QTest::mouseMove(file, entry.center());
    QTest::qWait(20);
    file->hide();
    QTest::qWait(20);
    for (QLabel* panel : window->SBar1->findChildren<QLabel*>())
        EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(window->statusPanelText(0), "Modified");
}

}  // namespace

namespace {

// How colourful an icon is: the mean saturation (0 to 255) of its visible pixels. Qt draws a
// disabled icon in grey, so an icon that is grey already looks disabled all the time.
double colourfulness(const QImage& image) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.alpha() < 128) continue;
            sum += p.hsvSaturation();
            ++count;
        }
    return count == 0 ? 0 : sum / count;
}

// A tool bar button that looks greyed out while it is enabled tells the user it cannot be
// used: every icon has colour, so that it looks different from its grey disabled rendering.
TEST_F(CommandTable, ToolBarIconsLookDisabledOnlyWhenDisabled) {
    start();
    for (QAction* a : window->ToolBar1->actions()) {
        if (a->isSeparator()) continue;
        SCOPED_TRACE(a->objectName().toStdString());
        ASSERT_FALSE(a->icon().isNull());
        const QImage normal = a->icon().pixmap(24, QIcon::Normal).toImage();
        EXPECT_GT(colourfulness(normal), 8.0) << a->objectName().toStdString();
    }
}

}  // namespace
