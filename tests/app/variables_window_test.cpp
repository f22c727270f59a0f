// The variables window and the variables commands through the real main window: rows after
// calculated lines, Show Variables and the close box, the File menu's three commands with
// their questions and dialogs, and Add through the real modal value dialog.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/WindowFixture.h"
#include "variables/EnterValue.h"
#include "variables/Variables.h"
#include "variables/VariablesCommands.h"

namespace tallyon {
namespace {

using Shown = std::vector<std::pair<QString, QString>>;
using VariablesWindowTest = WindowFixture;

Shown rowsOf(TFrmMain& window) {
    window.variablesWindow().refreshRows();
    return window.variablesWindow().shownRows();
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a command as the user would: once the program is idle, its enable rules have run.
void run(TFrmMain& window, const char* command) {
    window.idleUpdater().runNow();
    window.action(command)->trigger();
}

TEST_F(VariablesWindowTest, CalculatedLinesShowTheirRowsAndSaveInListOrder) {
    start();
    type({"x := 2", "y := 3", "v[2] := 7", ""});
    run(*window, "AtnTallyonReCalc");
    EXPECT_EQ(rowsOf(*window),
              (Shown{{"_ANS", "7"}, {"ANS", "7"}, {"V", "0,0,7"}, {"X", "2"}, {"Y", "3"}}));

    const QString path = folder.filePath("session.tyq");
    prompts.files = {path};
    run(*window, "AtnFileSaveVariablesAs");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, ScriptedPrompts::Kind::SaveFile);
    EXPECT_EQ(prompts.asked[0].title, "Save variables - Tallyon");
    EXPECT_TRUE(prompts.asked[0].choice.initialName.isEmpty());
    EXPECT_EQ(prompts.asked[0].choice.defaultSuffix.toUpper(), "TYQ");
    EXPECT_EQ(readBytes(path), "X=2\r\nANS=7\r\n_ANS=7\r\nY=3\r\nV=0,0,7\r\n");
    EXPECT_EQ(window->variablesFileName(), path);
}

TEST_F(VariablesWindowTest, ShowVariablesTogglesTheWindowAndTheCloseBoxUnchecksIt) {
    start();
    TFrmVariables& variables = window->variablesWindow();
    QAction* show = window->action("AtnOptionShowVariables");
    EXPECT_TRUE(variables.isHidden());
    EXPECT_FALSE(show->isChecked());
    window->ApplyCommandTexts(2);
    EXPECT_EQ(variables.windowTitle(), "変数");
    window->ApplyCommandTexts(1);
    EXPECT_EQ(variables.windowTitle(), "Variables");

    run(*window, "AtnOptionShowVariables");
    EXPECT_TRUE(variables.isVisible());
    EXPECT_TRUE(show->isChecked());
    type({"2+3"});
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(variables.shownRows(), (Shown{{"_ANS", "5"}, {"ANS", "5"}}));

    variables.close();
    EXPECT_TRUE(variables.isHidden());
    EXPECT_FALSE(show->isChecked());
    run(*window, "AtnOptionShowVariables");
    EXPECT_TRUE(variables.isVisible());
    EXPECT_EQ(variables.shownRows().size(), 2u);
    run(*window, "AtnOptionShowVariables");
    EXPECT_TRUE(variables.isHidden());
    EXPECT_FALSE(show->isChecked());
}

TEST_F(VariablesWindowTest, OpenAndClearAskInTheChosenLanguage) {
    start();
    const QString path = folder.filePath("in.tyq");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("b=2\r\na=1\r\nB=5\r\na note\r\n");
    file.close();
    window->settingsRecord().Language = 2;
    prompts.answers = {PromptButton::No};
    prompts.files = {path};
    run(*window, "AtnFileOpenVariables");
    ASSERT_GE(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, OpenVariablesQuestionText(2));
    EXPECT_EQ(prompts.asked[0].buttons,
              (PromptButton::Yes | PromptButton::No) | PromptButton::Cancel);
    EXPECT_EQ(prompts.asked[1].title, "Open variables - Tallyon");
    EXPECT_EQ(window->variables().Lines(), (std::vector<std::string>{"B=2", "a=1"}));
    EXPECT_EQ(rowsOf(*window), (Shown{{"A", "1"}, {"B", "2"}}));
    // The parser reads what was loaded.
    type({"a+b"});
    press(Qt::Key_Return);
    EXPECT_EQ(lines().front(), "a+b ==> 3 ");

    prompts.asked.clear();
    window->settingsRecord().Language = 1;
    prompts.answers = {PromptButton::No};
    run(*window, "AtnFileClearVariables");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, ClearVariablesQuestionText(1));
    EXPECT_EQ(window->variables().Count(), 0);
    EXPECT_TRUE(rowsOf(*window).empty());
    EXPECT_TRUE(window->variablesFileName().isEmpty());
}

// Add runs the real modal dialog: the user types into it and presses OK.
TEST_F(VariablesWindowTest, AddThroughTheModalValueDialog) {
    start();
    TFrmVariables& variables = window->variablesWindow();
    run(*window, "AtnOptionShowVariables");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TFrmEnterValue*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        dialog->EditName->setText("pi2");
        dialog->EditValue->setText("1k");
        dialog->BitBtn1->click();
    });
    variables.AtnInsert->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(window->variables().Get("PI2"), "1000");
    EXPECT_EQ(rowsOf(*window), (Shown{{"PI2", "1K"}}));
    EXPECT_EQ(variables.selectedRow(), variables.rows().Find("PI2"));
}

}  // namespace
}  // namespace tallyon
