// The main window driven as a user drives it: keys in the document, the calculation
// commands, enable rules, start-up with a document, the window style and the error report.
#include <QAction>
#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>

#include "app/WindowFixture.h"
#include "app/WindowStyle.h"

namespace tallyon {
namespace {

using MainWindowTest = WindowFixture;

QTextCharFormat formatAt(TDocumentEditor* editor, int position) {
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

TEST_F(MainWindowTest, ReturnCalculatesColoursAndMovesToANewLastLine) {
    start();
    QTest::keyClicks(editor(), "1+2");
    press(Qt::Key_Return);
    EXPECT_EQ(lines(), (QStringList{"1+2 ==> 3 ", ""}));
    EXPECT_EQ(caretLine(), 1);
    EXPECT_EQ(caretColumn(), 0);
    EXPECT_TRUE(editor()->isProtectedAt(3));
    EXPECT_EQ(formatAt(editor(), 8).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(editor(), 8).foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(window->variables().Get("ANS"), "3");
    // The next line is typed as plain expression text.
    QTest::keyClicks(editor(), "ANS*2");
    press(Qt::Key_Return);
    EXPECT_EQ(lines(), (QStringList{"1+2 ==> 3 ", "ANS*2 ==> 6 ", ""}));
}

// One Return key in a one-line document, with a key map.
struct KeyMapCase {
    const char* name;
    int optReturn, optShiftReturn, optCtrlReturn;
    const char* line;
    int column;
    Qt::KeyboardModifiers modifiers;
    QStringList expected;
    int caretLine, caretColumn;
};

const KeyMapCase kKeyMaps[] = {
    {"ReturnRecalculatesFromTheBody",
     1,
     2,
     3,
     "1+2 ==> 7 ",
     2,
     Qt::NoModifier,
     {"1+2 ==> 3 ", ""},
     1,
     0},
    {"LeadingBlanksGoCommentStays",
     1,
     2,
     3,
     "   4*2   ; comment",
     0,
     Qt::NoModifier,
     {"4*2   ; comment ==> 8 ", ""},
     1,
     0},
    {"SilentLineGetsNoAnswer", 1, 2, 3, "x:=3 $", 0, Qt::NoModifier, {"x:=3 $", ""}, 1, 0},
    {"ShiftReturnMovesOnWithoutCalculating",
     1,
     2,
     3,
     "1+2 ==> 3 ",
     10,
     Qt::ShiftModifier,
     {"1+2", ""},
     1,
     0},
    {"CtrlReturnBreaksTheLineAtTheCaret",
     1,
     2,
     3,
     "12 ==> 12 ",
     1,
     Qt::ControlModifier,
     {"1", "2"},
     1,
     0},
    {"CtrlWinsOverShift",
     1,
     2,
     3,
     "12 ==> 12 ",
     1,
     Qt::ControlModifier | Qt::ShiftModifier,
     {"1", "2"},
     1,
     0},
    {"ReturnMappedToCarriageReturn", 2, 2, 3, "5*5", 3, Qt::NoModifier, {"5*5", ""}, 1, 0},
    {"LineBreakOnPlainReturnStripsButInsertsNothing",
     3,
     2,
     3,
     "12 ==> 12 ",
     1,
     Qt::NoModifier,
     {"12"},
     0,
     1},
    {"UnknownActionActsAsLineBreak", 9, 2, 3, "12 ==> 12 ", 2, Qt::NoModifier, {"12"}, 0, 2},
    {"CtrlReturnMappedToCalculateAlsoBreaks",
     1,
     2,
     1,
     "2*3",
     3,
     Qt::ControlModifier,
     {"2*3 ==> 6 ", "", ""},
     2,
     0},
};

class KeyMapTest : public WindowFixture, public testing::WithParamInterface<KeyMapCase> {};

TEST_P(KeyMapTest, ReturnRunsTheMappedAction) {
    const KeyMapCase& c = GetParam();
    start();
    window->settingsRecord().OptReturn = c.optReturn;
    window->settingsRecord().OptShiftReturn = c.optShiftReturn;
    window->settingsRecord().OptCtrlReturn = c.optCtrlReturn;
    load({QString::fromUtf8(c.line)});
    caretTo(0, c.column);
    press(Qt::Key_Return, c.modifiers);
    EXPECT_EQ(lines(), c.expected);
    EXPECT_EQ(caretLine(), c.caretLine);
    EXPECT_EQ(caretColumn(), c.caretColumn);
}

INSTANTIATE_TEST_SUITE_P(KeyMaps, KeyMapTest, testing::ValuesIn(kKeyMaps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, PasteKeysInsertTheClipboardsPlainTextOnce) {
    start();
    for (const QKeyCombination keys : {QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert),
                                       QKeyCombination(Qt::ControlModifier, Qt::Key_V)}) {
        editor()->clearText();
        auto* data = new QMimeData;
        data->setHtml("<b>4*4</b>");
        data->setText("4*4");
        QApplication::clipboard()->setMimeData(data);
        window->idleUpdater().runNow();
        QTest::keyClick(editor(), keys.key(), keys.keyboardModifiers());
        EXPECT_EQ(lines(), QStringList{"4*4"});
        EXPECT_NE(formatAt(editor(), 0).fontWeight(), QFont::Bold);
        EXPECT_EQ(window->statusPanelText(0), "Modified");
    }
}

TEST_F(MainWindowTest, CalculateCommandCalculatesTheCaretLineAndCollapsesTheSelection) {
    start();
    type({"y:=1", "y+1"});
    QTextCursor c(editor()->document());
    c.setPosition(1);
    c.setPosition(6, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    window->action("AtnTallyonCalculate")->trigger();
    EXPECT_EQ(lines(), (QStringList{"y:=1 ==> 1 ", "y+1"}));
    EXPECT_FALSE(editor()->textCursor().hasSelection());
    EXPECT_FALSE(window->action("AtnTallyonCalculate")->isEnabled()) << "until idle";
    window->idleUpdater().runNow();
    window->action("AtnTallyonCalculate")->trigger();
    EXPECT_EQ(lines(), (QStringList{"y:=1 ==> 1 ", "y+1 ==> 2 ", ""}));
    EXPECT_EQ(window->statusPanelText(0), "Modified");
}

TEST_F(MainWindowTest, CalculateAgainRunsEveryLineTopDownAndStopsAtAnEmptyLastLine) {
    start();
    load({"a:=2", "a*3 ==> 9 ", "a+1"});
    window->action("AtnTallyonReCalc")->trigger();
    const QStringList once{"a:=2 ==> 2 ", "a*3 ==> 6 ", "a+1 ==> 3 ", ""};
    EXPECT_EQ(lines(), once);
    EXPECT_EQ(caretLine(), 3);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->statusPanelText(0), "Modified");
    for (int i = 0; i < 2; ++i) {
        window->idleUpdater().runNow();
        window->action("AtnTallyonReCalc")->trigger();
    }
    // The second run adds one line break after the last answer; from then on the last
    // counted line is empty and nothing more is added.
    EXPECT_EQ(lines(), once + QStringList{""}) << "repeating does not keep growing";
    for (int p : {4, 8})
        EXPECT_TRUE(editor()->isProtectedAt(p));
}

TEST_F(MainWindowTest, RaisedErrorIsReportedAndLeavesTheLineAndTheWindowAsTheyWere) {
    start();
    window->variables().Set("V", "not a number");
    load({"1+1 ==> 5 ", "v+1 ==> 9 ", "3 ==> 9 "});
    caretTo(1, 2);
    press(Qt::Key_Return);
    EXPECT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(lines(), (QStringList{"1+1 ==> 5 ", "v+1 ==> 9 ", "3 ==> 9 "}));
    EXPECT_EQ(caretLine(), 1);
    EXPECT_EQ(caretColumn(), 2);
    EXPECT_FALSE(editor()->busy());

    window->idleUpdater().runNow();
    window->action("AtnTallyonReCalc")->trigger();
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(lines(), (QStringList{"1+1 ==> 2 ", "v+1 ==> 9 ", "3 ==> 9 "}))
        << "lines above the error have new answers, lines below keep their old ones";
    EXPECT_EQ(caretLine(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(enabled("AtnTallyonCalculate")) << "commands come back when idle";
}

struct RemoveAnswersCase {
    const char* name;
    int language;
    PromptButton answer;
    const char* question;
    QStringList expected;
};
const RemoveAnswersCase kRemoveAnswers[] = {
    {"EnglishYesStripsEveryLine",
     1,
     PromptButton::Yes,
     "Are you sure you want to remove all the answers?[y/n]",
     {"1+1", "x", "a >>> b"}},
    {"JapaneseNoLeavesTheDocument",
     2,
     PromptButton::No,
     "計算結果をすべて削除してよろしいですか？[y/n]",
     {"  1+1 ==> 2 ", " x ", "a >>> b ==> c"}},
    {"UnchosenLanguageAsksInJapanese",
     0,
     PromptButton::Yes,
     "計算結果をすべて削除してよろしいですか？[y/n]",
     {"1+1", "x", "a >>> b"}},
};

class RemoveAnswersTest : public WindowFixture,
                          public testing::WithParamInterface<RemoveAnswersCase> {};

TEST_P(RemoveAnswersTest, AsksThenStripsOnYes) {
    const RemoveAnswersCase& c = GetParam();
    start();
    window->settingsRecord().Language = c.language;
    load({"  1+1 ==> 2 ", " x ", "a >>> b ==> c"});
    prompts.answers.push_back(c.answer);
    window->action("AtnTallyonRemoveAnswers")->trigger();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, QString::fromUtf8(c.question));
    EXPECT_EQ(prompts.asked[0].buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_EQ(lines(), c.expected);
    EXPECT_EQ(window->isModified(), c.answer == PromptButton::Yes);
    EXPECT_TRUE(enabled("AtnTallyonRemoveAnswers"));
}

INSTANTIATE_TEST_SUITE_P(Answers, RemoveAnswersTest, testing::ValuesIn(kRemoveAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, WholeDocumentCommandsNeedALineAndComeBackAfterDisabling) {
    start();
    EXPECT_FALSE(enabled("AtnTallyonReCalc"));
    EXPECT_FALSE(enabled("AtnTallyonRemoveAnswers"));
    EXPECT_TRUE(enabled("AtnTallyonCalculate"));
    QTest::keyClicks(editor(), "1");
    EXPECT_TRUE(enabled("AtnTallyonReCalc"));
    window->DisableAllCommands();
    for (QAction* a : window->ActionList1)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(enabled("AtnFileExit"));
}

TEST_F(MainWindowTest, CommandsComeBackWhenTheEventLoopFallsIdle) {
    start();
    QTest::keyClicks(editor(), "1+1");
    press(Qt::Key_Return);
    EXPECT_FALSE(window->action("AtnTallyonReCalc")->isEnabled()) << "disabled while calculating";
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();  // waits for events, so the loop falls idle on the way
    EXPECT_TRUE(window->action("AtnTallyonReCalc")->isEnabled());
    EXPECT_TRUE(window->action("AtnEditUndo")->isEnabled());
    EXPECT_FALSE(window->action("AtnEditCopy")->isEnabled()) << "no selection";
}

TEST_F(MainWindowTest, LayoutFollowsTheDesign) {
    start();
    QStringList toolBar;
    for (QAction* a : window->ToolBar1->actions())
        toolBar << (a->isSeparator() ? "|" : a->objectName());
    EXPECT_EQ(toolBar.join(' '),
              "AtnFileNew AtnFileOpen AtnFileSave | AtnEditCut AtnEditCopy AtnEditPaste "
              "AtnEditUndo AtnEditSendToClipboard | AtnTallyonCalculate "
              "AtnTallyonRemoveAnswers AtnTallyonReCalc | AtnOptionShowVariables AtnOptions "
              "AtnOptionsSimpleWindow | AtnHelpIndex AtnHelpRuvoHomePage AtnHelpAbout | "
              "AtnFileExit");
    QStringList menus;
    for (QAction* a : window->MainMenu1->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Insert", "&Tallyon", "&Options", "&Help"}));
    const auto panels = window->SBar1->findChildren<QLabel*>();
    ASSERT_GE(panels.size(), 2);
    EXPECT_EQ(panels[0]->width(), 120);
    EXPECT_EQ(panels[1]->width(), 200);
    EXPECT_EQ(window->action("AtnFileExit")->shortcut(), QKeySequence("Alt+X"));
    EXPECT_EQ(window->action("AtnTallyonReCalc")->text(), "Calculate &again");
    EXPECT_EQ(window->action("AtnTallyonReCalc")->toolTip(), "Calculate all lines again");
    EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(MainWindowTest, CommandTextsSwitchLanguageBackAndForth) {
    start();
    QAction* calculate = window->action("AtnTallyonCalculate");
    QMenu* file = window->findChild<QMenu*>("File1");
    QMenu* electronics = window->findChild<QMenu*>("Electronics1");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(electronics, nullptr);
    for (int round = 0; round < 2; ++round) {
        window->ApplyCommandTexts(7);  // any value but 1 is Japanese
        EXPECT_EQ(calculate->text(), "計算実行(&C)");
        EXPECT_EQ(calculate->toolTip(), "現在の行を計算");
        EXPECT_EQ(file->title(), "ファイル(&F)");
        EXPECT_EQ(electronics->title(), "電気(&E)");
        EXPECT_EQ(window->findChild<QMenu*>("PopupFile1")->title(), "&File");
        window->ApplyCommandTexts(1);
        EXPECT_EQ(calculate->text(), "&Calculate");
        EXPECT_EQ(calculate->toolTip(), "Calculate a current line");
        EXPECT_EQ(file->title(), "&File");
    }
}

TEST_F(MainWindowTest, StartUpOpensTheDocumentNamedByTheOnlyArgument) {
    const QString path = folder.filePath("budget.tyq");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("5*5 ==> 25 \r\n1+1");
    file.close();
    start({path});
    EXPECT_EQ(lines(), (QStringList{"5*5 ==> 25 ", "1+1"}));
    EXPECT_TRUE(editor()->isProtectedAt(9));
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->windowTitle(), "budget.tyq - Tallyon");
    EXPECT_EQ(window->statusPanelText(0), "");
}

TEST_F(MainWindowTest, StartUpIgnoresAMissingOrUnreadableArgument) {
    start({folder.filePath("missing.tyq")});
    EXPECT_EQ(lines(), QStringList{""});
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_TRUE(prompts.asked.empty()) << "nothing is reported at start-up";

    start({folder.path()});  // a folder exists but does not read as a document
    EXPECT_EQ(window->documentFileName(), "");
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(MainWindowTest, SimpleWindowHidesTheBarsAndTheContextMenuTurnsItOff) {
    start();
    QAction* simple = window->action("AtnOptionsSimpleWindow");
    simple->trigger();
    window->idleUpdater().runNow();
    EXPECT_TRUE(simple->isChecked());
    EXPECT_FALSE(window->MainMenu1->isVisible());
    EXPECT_FALSE(window->ToolBar1->isVisible());
    EXPECT_FALSE(window->SBar1->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->PopupMenu1->actions().contains(simple));
    simple->trigger();
    window->idleUpdater().runNow();
    EXPECT_FALSE(simple->isChecked());
    EXPECT_TRUE(window->MainMenu1->isVisible());
    EXPECT_TRUE(window->ToolBar1->isVisible());
    EXPECT_TRUE(window->SBar1->isVisible());
}

struct TransparencyCase {
    const char* name;
    bool stayOnTop;
    bool semiTransparent;
    bool whileInactive;
};
const TransparencyCase kTransparency[] = {
    {"OnTopAndSemiTransparentFadesWhileInactive", true, true, true},
    {"NotOnTopNeverFades", false, true, false},
    {"OnTopWithoutSemiTransparencyNeverFades", true, false, false},
};

TEST_F(MainWindowTest, SemiTransparentOnlyWhileOnTopAndAnotherApplicationIsActive) {
    start();
    for (const TransparencyCase& c : kTransparency) {
        window->settingsRecord().OptStayOnTop = c.stayOnTop;
        window->settingsRecord().OptSemiTransparent = c.semiTransparent;
        window->ApplyWindowStyle();
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.stayOnTop) << c.name;
        window->ApplicationEvents1Deactivate();
        EXPECT_EQ(IsSemiTransparent(window.get()), c.whileInactive) << c.name;
        if (c.whileInactive) {
            EXPECT_NEAR(window->windowOpacity(), 160 / 255.0, 0.01) << c.name;
        }
        window->ApplicationEvents1Activate();
        EXPECT_FALSE(IsSemiTransparent(window.get())) << c.name;
    }
}

TEST_F(MainWindowTest, ExitAsksAboutAModifiedDocumentAndCancelKeepsRunning) {
    start();
    window->settingsRecord().OptQueryDiscard = true;
    QTest::keyClicks(editor(), "1+1");
    prompts.answers.push_back(PromptButton::Cancel);
    window->action("AtnFileExit")->trigger();
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(window->isVisible());
    prompts.answers.push_back(PromptButton::No);
    window->action("AtnFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ExceptionEscapingAnEventHandlerIsReported) {
    start();
    class Throwing : public QObject {
    public:
        bool event(QEvent*) override { throw std::runtime_error("boom"); }
    } target;
    QEvent event(QEvent::User);
    QApplication::sendEvent(&target, &event);
    EXPECT_EQ(prompts.messages(), QStringList{"boom"});
}

}  // namespace
}  // namespace tallyon
