// The settings seen from the main window: the start-up sequence (settings, language, recall
// of the last files), the interface language as the user sees it after switching back and
// forth, the first start on Japanese and other locales, saving at every close, and a round
// trip of the whole setup across two processes.
#include <QAction>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <set>

#include "app/CommandTable.h"
#include "app/WindowFixture.h"
#include "variables/Variables.h"

namespace tallyon {
namespace {

class SettingsWindow : public WindowFixture {
protected:
    // Writes `values` into the user's settings store (the fixture's temporary folder).
    void store(const std::vector<std::pair<QString, QVariant>>& values) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ruvo", "Tallyon");
        for (const auto& [name, value] : values)
            settings.setValue(name, value);
    }
    QVariant stored(const QString& name) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ruvo", "Tallyon");
        return settings.value(name);
    }
    QString writeFile(const QString& name, const QByteArray& text) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
};

// ---- start-up recall -------------------------------------------------------------------

struct RecallCase {
    const char* behaviour;
    QStringList arguments;  // "last" and "other" name existing documents, "missing" none
    bool recallOn;
    bool lastExists;
    const char* expectedTitle;
};
void PrintTo(const RecallCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const RecallCase kRecallCases[] = {
    {"no_argument_reopens_the_last_document", {}, true, true, "last.tyq - Tallyon"},
    {"one_argument_wins_over_recall", {"other"}, true, true, "other.tyq - Tallyon"},
    {"missing_argument_opens_nothing_not_even_the_last", {"missing"}, true, true,
     "Untitled - Tallyon"},
    {"two_arguments_are_ignored_and_the_last_document_opens", {"other", "other"}, true, true,
     "last.tyq - Tallyon"},
    {"recall_off_leaves_the_document_untitled", {}, false, true, "Untitled - Tallyon"},
    {"missing_last_document_leaves_it_untitled", {}, true, false, "Untitled - Tallyon"},
};

class StartUpRecall : public SettingsWindow, public testing::WithParamInterface<RecallCase> {};

TEST_P(StartUpRecall, OpensTheRightDocumentUnmodifiedAndSilently) {
    const RecallCase& c = GetParam();
    const QString last = c.lastExists ? writeFile("last.tyq", "1+1 ==> 2 \r\nlast")
                                      : folder.filePath("last.tyq");
    writeFile("other.tyq", "other");
    store({{"OptRecallLastFile", int(c.recallOn)}, {"OptRecallLastVariables", 1},
           {"RecallFileName", last}});
    QStringList arguments;
    for (const QString& a : c.arguments)
        arguments << folder.filePath(a + ".tyq");
    start(arguments);
    EXPECT_EQ(window->windowTitle(), c.expectedTitle);
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->statusPanelText(0), "");
    EXPECT_TRUE(prompts.asked.empty()) << "nothing is reported at start-up";
    if (window->windowTitle() == "last.tyq - Tallyon") {
        EXPECT_EQ(lines(), (QStringList{"1+1 ==> 2 ", "last"}));
        EXPECT_TRUE(editor()->isProtectedAt(4)) << "recalled answers are coloured and protected";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StartUpRecall, testing::ValuesIn(kRecallCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// The variables window is reached through its link: it is shown, placed, captioned, given the
// font and asked to recall the last variables file, and its state is saved at the close.
TEST_F(SettingsWindow, VariablesWindowFollowsTheStoreThroughItsLink) {
    const QString vars = writeFile("vars.txt", "x=1\r\n");
    store({{"Variables/Left", 10}, {"Variables/Width", 200}, {"Variables/Top", 20},
           {"Variables/Height", 300}, {"Variables/Visible", 1},
           {"OptRecallLastFile", 1}, {"OptRecallLastVariables", 1},
           {"RecallVariablesFileName", vars}, {"Language", 1}});
    window = std::make_unique<TFrmMain>();
    window->show();
    QCoreApplication::sendPostedEvents(window.get());
    QWidget& variables = window->variablesWindow();

    EXPECT_TRUE(variables.isVisible());
    window->idleUpdater().runNow();
    EXPECT_TRUE(window->action("AtnOptionShowVariables")->isChecked());
    EXPECT_EQ(variables.pos(), QPoint(10, 20));
    EXPECT_EQ(variables.size(), QSize(200, 300));
    EXPECT_EQ(window->variablesFileName(), vars);
    EXPECT_EQ(window->variables().Get("X"), "1");
    EXPECT_EQ(variables.windowTitle(), "Variables");

    variables.hide();
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored("Variables/Visible").toInt(), 0);
    EXPECT_EQ(stored("RecallVariablesFileName").toString(), vars);
}

TEST_F(SettingsWindow, RecallOfVariablesNeedsTheSwitchAndAnExistingFile) {
    for (const bool recallOn : {false, true}) {
        store({{"OptRecallLastFile", 1}, {"OptRecallLastVariables", int(recallOn)},
               {"RecallVariablesFileName", folder.filePath("gone.txt")}});
        window = std::make_unique<TFrmMain>();
        QCoreApplication::sendPostedEvents(window.get());
        EXPECT_TRUE(window->variablesFileName().isEmpty()) << "recall " << recallOn;
    }
}

// ---- applied settings ------------------------------------------------------------------

TEST_F(SettingsWindow, StoredSetupIsAppliedAtStartUp) {
    store({{"MainWnd/Left", 30}, {"MainWnd/Width", 500}, {"MainWnd/Top", 40},
           {"MainWnd/Height", 350}, {"OptNumFormat", 1}, {"OptPrecision", 5}, {"OptDigits", 2},
           {"OptReturn", 1}, {"OptShiftReturn", 2}, {"OptCtrlReturn", 3}, {"Language", 2},
           {"TipHint", 0}, {"FontCharset", 128}, {"FontName", "No Such Font Family"},
           {"FontSize", 14}, {"FontBold", 1}, {"FontItalic", 0}, {"FontUnderline", 0},
           {"OptRecallLastFile", 1}, {"OptRecallLastVariables", 1}, {"OptColorBack", 0xFFFF},
           {"OptColorExpression", 0xFF0000}, {"OptColorArrow", 255}, {"OptColorAnswer", 0},
           {"OptAutomaticallyCopyState", 1}});
    start();
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_EQ(window->size(), QSize(500, 350));
    EXPECT_EQ(window->settingsRecord().OptPrecision, 5);
    EXPECT_EQ(window->findChild<QMenu*>("File1")->title(), "ファイル(&F)");
    EXPECT_TRUE(window->helpFile().endsWith("/TallyonJ.HLP"));
    EXPECT_TRUE(window->action("AtnEditSendToClipboard")->isChecked());
    EXPECT_EQ(editor()->font().pointSize(), 14);
    EXPECT_TRUE(editor()->font().bold());
    EXPECT_TRUE(QFontDatabase::hasFamily(editor()->font().family()))
        << "a missing font falls back to an installed one";
    EXPECT_EQ(editor()->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(editor()->palette().color(QPalette::Text), QColor(0, 0, 255));
    // The stored name is kept for the next save, not the fallback's.
    EXPECT_EQ(window->settingsRecord().FontName, "No Such Font Family");
}

TEST_F(SettingsWindow, HintSwitchOffShowsNoToolTips) {
    for (const bool on : {true, false}) {
        store({{"OptNumFormat", 0}, {"OptPrecision", 18}, {"OptDigits", 0}, {"OptReturn", 1},
               {"OptShiftReturn", 2}, {"OptCtrlReturn", 3}, {"Language", 1},
               {"TipHint", int(on)}});
        start();
        QWidget* button = window->ToolBar1->widgetForAction(window->action("AtnFileOpen"));
        ASSERT_NE(button, nullptr);
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        EXPECT_EQ(QToolTip::isVisible(), on) << "TipHint " << on;
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), on ? "Open" : "");
    }
    QToolTip::hideText();
}

// ---- language --------------------------------------------------------------------------

// Every text of the language tables in `language`.
std::set<QString> TableTexts(int language) {
    std::set<QString> texts;
    for (const CommandRow& row : Commands()) {
        texts.insert(QString::fromUtf8(Caption(row, language)));
        texts.insert(QString::fromUtf8(Hint(row, language)));
    }
    for (const MenuRow& row : Menus())
        texts.insert(QString::fromUtf8(Caption(row, language)));
    return texts;
}

// Every caption, hint and title the window's widget tree shows.
QStringList ShownTexts(const TFrmMain& window) {
    QStringList shown;
    for (const QAction* a : window.findChildren<QAction*>())
        shown << a->text() << a->toolTip() << a->statusTip();
    for (const QMenu* m : window.findChildren<QMenu*>())
        shown << m->title();
    for (const QToolButton* b : window.findChildren<QToolButton*>())
        shown << b->text() << b->toolTip();
    return shown;
}

TEST_F(SettingsWindow, NoTextOfTheOtherLanguageIsLeftAfterSwitchingBackAndForth) {
    start();
    for (const int language : {2, 1, 2, 1, 7}) {
        window->settingsRecord().Language = language;
        window->ApplyLanguage();
        const int other = IsEnglish(language) ? 2 : 1;
        const std::set<QString> own = TableTexts(language);
        std::set<QString> foreign;
        for (const QString& t : TableTexts(other))
            if (!own.count(t)) foreign.insert(t);
        for (const QString& shown : ShownTexts(*window))
            EXPECT_FALSE(foreign.count(shown)) << "language " << language << ": " << shown.toStdString();
        for (const CommandRow& row : Commands()) {
            EXPECT_EQ(window->action(row.name)->text(), QString::fromUtf8(Caption(row, language)));
            EXPECT_EQ(window->action(row.name)->toolTip(), QString::fromUtf8(Hint(row, language)));
        }
        EXPECT_TRUE(window->helpFile().endsWith(IsEnglish(language) ? "/TallyonE.HLP"
                                                                    : "/TallyonJ.HLP"));
    }
    EXPECT_EQ(window->settingsRecord().Language, 7) << "a language out of range is kept";
}

// Sets the default locale for its lifetime.
class LocaleHold {
public:
    explicit LocaleHold(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleHold() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

struct FirstStartCase {
    const char* behaviour;
    QLocale locale;
    int language;
    const char* fileMenu;
};
void PrintTo(const FirstStartCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const FirstStartCase kFirstStarts[] = {
    {"japanese_locale_starts_in_japanese", QLocale(QLocale::Japanese, QLocale::Japan), 2,
     "ファイル(&F)"},
    {"other_locale_starts_in_english", QLocale(QLocale::German, QLocale::Germany), 1, "&File"},
};

class FirstStart : public SettingsWindow, public testing::WithParamInterface<FirstStartCase> {};

TEST_P(FirstStart, ChoosesTheLanguageFromTheLocaleAndStoresIt) {
    LocaleHold hold(GetParam().locale);
    start();
    EXPECT_EQ(window->settingsRecord().Language, GetParam().language);
    EXPECT_EQ(window->findChild<QMenu*>("File1")->title(), QString::fromUtf8(GetParam().fileMenu));
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored("Language").toInt(), GetParam().language);
    EXPECT_EQ(stored("RecallFileName").toString(), "") << "an untitled document is stored empty";
    EXPECT_EQ(stored("RecallVariablesFileName").toString(), "");
}

INSTANTIATE_TEST_SUITE_P(Table, FirstStart, testing::ValuesIn(kFirstStarts),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(SettingsWindow, FirstStartAsksBeforeExitDiscardsTheDocument) {
    start();
    QTest::keyClicks(editor(), "12*12");
    EXPECT_FALSE(window->close()) << "the question was cancelled";
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].text.endsWith("[y/n]"));
    EXPECT_FALSE(QFile::exists(folder.filePath("Ruvo/Tallyon.conf")))
        << "nothing is saved while the window stays open";
}

// A store that cannot be written is reported in the language of the interface, and the
// window closes all the same.
TEST_F(SettingsWindow, FailedSaveIsReportedAndTheWindowStillCloses) {
    writeFile("Ruvo", "a file where the store's folder should be");
    start();
    window->settingsRecord().Language = 1;
    EXPECT_TRUE(window->close());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages()[0], "The settings could not be saved.");
}

// ---- two processes ---------------------------------------------------------------------

// Stages of the round trip, run in a child process of RoundTripAcrossTwoProcesses; skipped
// when the test binary runs on its own.
TEST_F(SettingsWindow, ChildStage) {
    const QString stage = qEnvironmentVariable("TALLYON_TEST_STAGE");
    const QString storeFolder = qEnvironmentVariable("TALLYON_TEST_STORE");
    if (stage.isEmpty() || storeFolder.isEmpty()) GTEST_SKIP() << "run by the round trip";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeFolder);
    const QString document = storeFolder + "/sheet.tyq";
    if (stage == "write") {
        start({document});
        TSettingsRecord& s = window->settingsRecord();
        s.Language = 2;
        s.OptPrecision = 9;
        s.FontSize = 13;
        s.OptSimpleMode = true;
        s.OptAutomaticallyCopyState = true;
        window->move(30, 40);
        window->resize(420, 330);
        ASSERT_TRUE(window->close());
    } else {
        start();
        const TSettingsRecord& s = window->settingsRecord();
        EXPECT_EQ(s.OptPrecision, 9);
        EXPECT_EQ(editor()->font().pointSize(), 13);
        EXPECT_FALSE(window->MainMenu1->isVisible()) << "the simple window is back";
        EXPECT_TRUE(window->action("AtnEditSendToClipboard")->isChecked());
        EXPECT_EQ(window->pos(), QPoint(30, 40));
        EXPECT_EQ(window->size(), QSize(420, 330));
        EXPECT_EQ(window->windowTitle(), "sheet.tyq - Tallyon");
        EXPECT_EQ(lines(), (QStringList{"2^10 ==> 1024 "}));
        EXPECT_EQ(window->findChild<QMenu*>("Edit1")->title(), "編集(&E)");
    }
}

TEST_F(SettingsWindow, RoundTripAcrossTwoProcesses) {
    writeFile("sheet.tyq", "2^10 ==> 1024 ");
    for (const char* stage : {"write", "read"}) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TALLYON_TEST_STAGE", stage);
        environment.insert("TALLYON_TEST_STORE", folder.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=SettingsWindow.ChildStage"});
        ASSERT_TRUE(child.waitForFinished(60000)) << stage;
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << stage << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        if (QString(stage) == "write") {
            EXPECT_EQ(stored("Language").toString(), "2");
            EXPECT_EQ(stored("RecallFileName").toString(), folder.filePath("sheet.tyq"));
        }
    }
}

}  // namespace
}  // namespace tallyon
