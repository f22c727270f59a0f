// The clipboard exchange through the real main window and the system clipboard: a column
// copied from a spreadsheet used in expressions, results sent back, and the automatic-copy
// command's check mark.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include "app/WindowFixture.h"

namespace tallyon {
namespace {

using ClipboardWindowTest = WindowFixture;

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// Triggers a command once the idle pass after the last key has enabled it again.
void run(TFrmMain& window, const char* command) {
    window.idleUpdater().runNow();
    window.action(command)->trigger();
}

TEST_F(ClipboardWindowTest, SpreadsheetColumnIsReadAsClipWhenReturnCalculates) {
    start();
    QGuiApplication::clipboard()->setText("1.5\r\n2.5\r\n4\r\n");
    type({"SUM(_CLIP[0],_CLIP[1],_CLIP[2])"});
    press(Qt::Key_Return);
    EXPECT_EQ(lines().front(), "SUM(_CLIP[0],_CLIP[1],_CLIP[2]) ==> 8 ");
    // A new clipboard text is read by the next calculation, here the Calculate command.
    QGuiApplication::clipboard()->setText("10\t20");
    type({"_CLIP[1]"});
    run(*window, "AtnTallyonCalculate");
    EXPECT_EQ(lines().front(), "_CLIP[1] ==> 20 ");
}

TEST_F(ClipboardWindowTest, AssignmentsSendValuesInTheChosenArrayFormat) {
    start();
    window->settingsRecord().OptNumFormatArray = 1;
    QGuiApplication::clipboard()->setText("1\t2");
    type({"_CLIP[3] := 7"});
    press(Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "1\t2\t0\t7");
    type({"_CLIP := 2*3 $"});  // a silent line assigns all the same
    press(Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "6");
    type({"_CLIP[-2] := 1"});
    press(Qt::Key_Return);
    EXPECT_TRUE(lines().front().contains(" >>> ")) << lines().front().toStdString();
    EXPECT_EQ(clipboardText(), "6");
}

TEST_F(ClipboardWindowTest, CopyAutomaticallyTogglesItsCheckMarkAndCopiesAnswers) {
    start();
    QAction* copy = window->action("AtnEditSendToClipboard");
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(enabled("AtnEditSendToClipboard"));
    EXPECT_FALSE(copy->isChecked());
    QGuiApplication::clipboard()->setText("before");
    type({"1/3"});
    press(Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "before");

    run(*window, "AtnEditSendToClipboard");
    EXPECT_TRUE(copy->isChecked());
    EXPECT_TRUE(window->settingsRecord().OptAutomaticallyCopyState);
    window->settingsRecord().OptNumFormat = 2;  // Fixed in the document
    type({"1/3"});
    press(Qt::Key_Return);
    EXPECT_EQ(clipboardText(), "0.333333333333333");
    window->settingsRecord().OptNumFormatClipboard = 1;
    type({"1/0"});  // an error copies the answer written behind the arrow
    press(Qt::Key_Return);
    EXPECT_EQ(lines().front(), "1/0 >>> " + clipboardText() + " ");

    run(*window, "AtnEditSendToClipboard");
    EXPECT_FALSE(copy->isChecked());
    EXPECT_FALSE(window->settingsRecord().OptAutomaticallyCopyState);
    EXPECT_TRUE(enabled("AtnEditSendToClipboard"));
    EXPECT_FALSE(copy->isChecked());  // the idle pass keeps the mark on the setting
}

}  // namespace
}  // namespace tallyon
