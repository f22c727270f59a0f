// The variables window and the value dialog as widgets: design values, the close box, the
// enable rules, double click, the batched refresh of the list and the dialog's OK rule.
#include "variables/Variables.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>

#include "ScriptedHost.h"
#include "engine/VariableList.h"
#include "variables/EnterValue.h"
#include "variables/VariablesCommands.h"

using namespace tallyon;
using Shown = std::vector<std::pair<QString, QString>>;

namespace {

class Window : public ApplicationFirst, public testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }

    ScriptedHost host;
    TVariableList list;
    TFrmVariables window;
    VariablesCommands commands{list, window, host};
};

TEST_F(Window, StartsHiddenWithItsDesignValues) {
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(330, 425));
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.windowTitle(), "Variables");
    window.applyLanguage(2);
    EXPECT_EQ(window.windowTitle(), "変数");

    window.show();
    const int half = window.LvVariables->viewport()->width() / 2;
    EXPECT_EQ(window.LvVariables->columnWidth(0), half);
    EXPECT_EQ(window.LvVariables->columnWidth(1), half);
}

TEST_F(Window, CloseBoxHidesAndKeepsTheRows) {
    int closedByUser = 0;
    QObject::connect(&window, &TFrmVariables::closedByUser, [&] { ++closedByUser; });
    commands.ShowVariable("A", "1");
    window.show();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closedByUser, 1);
    window.show();
    EXPECT_EQ(window.shownRows(), (Shown{{"A", "1"}}));
}

TEST_F(Window, ListCatchesUpOnceWhenIdleAndKeepsTheSelection) {
    window.show();
    commands.ShowVariable("B", "1");
    commands.ShowVariable("A", "1");
    EXPECT_TRUE(window.shownRows().empty()) << "no refresh before the program is idle";
    QCoreApplication::processEvents();
    EXPECT_EQ(window.shownRows(), (Shown{{"A", "1"}, {"B", "1"}}));

    window.selectRow(window.rows().Find("B"));
    commands.ShowVariable("B", "2");  // a new value only
    QCoreApplication::processEvents();
    EXPECT_EQ(window.shownRows()[1].second, "2");
    EXPECT_EQ(window.selectedRow(), window.rows().Find("B"));

    commands.ShowVariable("_ANS", "2");  // a new row moves B down
    QCoreApplication::processEvents();
    EXPECT_EQ(window.shownRows().front().first, "_ANS");
    EXPECT_EQ(window.selectedRow(), window.rows().Find("B"));
}

TEST_F(Window, HiddenWindowRefreshesWhenShown) {
    commands.ShowVariable("A", "1");
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.shownRows().empty());
    window.show();
    EXPECT_EQ(window.shownRows(), (Shown{{"A", "1"}}));
}

TEST_F(Window, EditAndDeleteNeedASelectedRowAndDoubleClickEdits) {
    window.show();
    list.Set("A", "1");
    commands.ShowVariable("A", "1");
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.AtnInsert->isEnabled());
    EXPECT_FALSE(window.AtnEdit->isEnabled());
    EXPECT_FALSE(window.AtnDelete->isEnabled());

    window.setCommands(&commands);
    window.LvVariables->doubleClicked({});  // nothing selected: no dialog
    EXPECT_TRUE(host.dialogFields.empty());

    window.selectRow(window.rows().Find("A"));
    EXPECT_TRUE(window.AtnEdit->isEnabled());
    EXPECT_TRUE(window.AtnDelete->isEnabled());
    host.dialogs = {{"A", "3"}};
    emit window.LvVariables->doubleClicked(window.LvVariables->model()->index(0, 1));
    ASSERT_EQ(host.dialogFields.size(), 1u);
    EXPECT_EQ(list.Get("A"), "3");

    host.answers = {VariablesHost::Answer::Yes};
    window.AtnDelete->trigger();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(window.AtnEdit->isEnabled());
}

struct DialogCase {
    const char* behaviour;
    const char* name;
    const char* value;
    bool accepted;
};

TEST(ValueDialog, OkOnlyWithBothFieldsAndLabelsByLanguage) {
    EnsureApplication();
    const DialogCase cases[] = {
        {"both_fields", "a", "1", true},
        {"empty_value", "a", "", false},
        {"empty_name", "", "1", false},
        {"blank_value_is_text", "a", " ", true},
    };
    for (const DialogCase& c : cases) {
        TFrmEnterValue dialog(1);
        dialog.EditName->setText(c.name);
        dialog.EditValue->setText(c.value);
        dialog.setResult(-1);
        dialog.BitBtn1->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.behaviour;
    }
    TFrmEnterValue english(1), japanese(2);
    EXPECT_EQ(english.windowTitle(), "Variable");
    EXPECT_EQ(english.LblName->text(), "Name:");
    EXPECT_EQ(english.LblValue->text(), "Value:");
    EXPECT_EQ(japanese.LblName->text(), "変数名：");
    EXPECT_EQ(japanese.LblValue->text(), "値：");
    EXPECT_EQ(japanese.BitBtn2->text(), "Cancel");
}

}  // namespace
