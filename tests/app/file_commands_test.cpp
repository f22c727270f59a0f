// File commands against a stand-in window: the save question's texts, the question loops of
// New, Open, a dropped file and closing for each answer, and saving and loading real files in
// a temporary folder, failures included. The commands in the real window are driven by the
// window tests further down.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListView>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/FileCommands.h"
#include "app/IdleUpdater.h"
#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "app/WindowFixture.h"
#include "document/editor/DocumentEditor.h"
#include "settings/SettingsRecord.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << QString(text).replace(QChar(0x0A), QStringLiteral("⏎")).toStdString();
}

using namespace tallyon;

namespace {

// The document as the commands see it, kept in plain members.
class FakeHost final : public DocumentHost {
public:
    TSettingsRecord record;
    bool modified = false;
    QStringList lines;
    QString fileName;
    QString title, status;
    QStringList errors;
    int loads = 0;

    QWidget* promptParent() override { return nullptr; }
    const TSettingsRecord& settings() const override { return record; }
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    QStringList documentLines() const override { return lines; }
    void showLoadedLines(const QStringList& loaded) override {
        lines = loaded;
        modified = false;
        ++loads;
    }
    void clearDocument() override { lines.clear(); }
    QString documentFileName() const override { return fileName; }
    void setDocumentFileName(const QString& name) override { fileName = name; }
    void showTitleAndStatus(const QString& t, const QString& s) override {
        title = t;
        status = s;
    }
    void reportError(const QString& message) override { errors << message; }
};

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int countOf(const ScriptedPrompts& prompts, ScriptedPrompts::Kind kind) {
    int n = 0;
    for (const auto& r : prompts.asked)
        n += r.kind == kind;
    return n;
}

// ---------------------------------------------------------------------------------------
// The save question and the title

struct QuestionRow {
    const char* behaviour;
    DiscardOccasion occasion;
    int language;
    const char* fileName;
    const char* expected;
};
void PrintTo(const QuestionRow& row, std::ostream* os) {
    *os << row.behaviour;
}

const QuestionRow kQuestionRows[] = {
    {"new_english_untitled", DiscardOccasion::CreateNew, 1, "",
     "Current document has been modified. Creating a new document will discard the change. "
     "Do you want to save the change?[y/n]"},
    {"new_english_names_file_without_folders", DiscardOccasion::CreateNew, 1, "/data/budget.tyq",
     "budget.tyq has been modified. Creating a new document will discard the change. Do you "
     "want to save the change?[y/n]"},
    {"new_japanese_uses_ascii_full_stops", DiscardOccasion::CreateNew, 2, "",
     "現在の文書は変更されています. 新規作成を続行すると変更は失われます. "
     "変更を保存しますか？[y/n]"},
    {"new_japanese_named", DiscardOccasion::CreateNew, 0, "a.tyq",
     "a.tyq は変更されています. 新規作成を続行すると変更は失われます. 変更を保存しますか？[y/n]"},
    {"open_english_untitled", DiscardOccasion::Open, 1, "",
     "Current document has been modified. Opening a new document will discard the change. Do "
     "you want to save the change?[y/n]"},
    {"open_japanese_uses_ideographic_full_stops", DiscardOccasion::Open, 2, "x/a.tyq",
     "a.tyq は変更されています． ファイルを開くと、変更は失われます． 変更を保存しますか？[y/n]"},
    {"closing_english_named", DiscardOccasion::Closing, 1, "a.tyq",
     "a.tyq has been modified. Closing Tallyon will discard the change. Do you want to save the "
     "change?[y/n]"},
    {"closing_japanese_untitled", DiscardOccasion::Closing, 2, "",
     "現在の文書は変更されています． Tallyonを閉じると変更は失われてしまいます． "
     "変更を保存しますか？[y/n]"},
    {"any_language_but_1_is_japanese", DiscardOccasion::Closing, 7, "",
     "現在の文書は変更されています． Tallyonを閉じると変更は失われてしまいます． "
     "変更を保存しますか？[y/n]"},
};

class SaveQuestion : public testing::TestWithParam<QuestionRow> {};

TEST_P(SaveQuestion, JoinsItsThreePieces) {
    const QuestionRow& row = GetParam();
    EXPECT_EQ(SaveQuestionText(row.occasion, row.language, QString::fromUtf8(row.fileName)),
              QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, SaveQuestion, testing::ValuesIn(kQuestionRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST(DocumentTitle, NamesTheFileWithoutItsFolders) {
    EXPECT_EQ(DocumentTitle(""), "Untitled - Tallyon");
    EXPECT_EQ(DocumentTitle("/home/u/budget.tyq"), "budget.tyq - Tallyon");
}

TEST(DocumentDialogs, AddTyqAndListTheUpperCaseSpellingToo) {
    const FileChoice save = DocumentSaveChoice("a.tyq");
    EXPECT_EQ(save.title, "Save - Tallyon");
    EXPECT_EQ(save.initialName, "a.tyq");
    EXPECT_EQ(save.defaultSuffix.toLower(), "tyq");
    EXPECT_TRUE(Prompts::qtFilter(save.filter).startsWith("Tallyon document (*.tyq *.TYQ);;"));
    const FileChoice open = DocumentOpenChoice("");
    EXPECT_EQ(open.title, "Open - Tallyon");
    EXPECT_TRUE(open.filter.contains("*.TYQ"));
    EXPECT_TRUE(open.filter.endsWith("|All files(*)|*"));  // names without a dot too
}

// ---------------------------------------------------------------------------------------
// Question loops

enum class Command { New, Open, Drop, Close };

struct LoopRow {
    const char* behaviour;
    Command command;
    bool modified;
    bool queryDiscard;
    std::vector<PromptButton> answers;
    std::vector<const char*> files;  // names in the folder, "" cancels the dialog
    int questions;
    int saveDialogs;
    int openDialogs;
    const char* linesAfter;  // "old" kept, "" cleared, "other" the loaded file
    bool modifiedAfter;
    bool closes;  // for Close: the window may close
};
void PrintTo(const LoopRow& row, std::ostream* os) {
    *os << row.behaviour;
}

using PB = PromptButton;

const LoopRow kLoopRows[] = {
    {"new_unmodified_does_not_ask", Command::New, false, true, {}, {}, 0, 0, 0, "", false, false},
    {"new_without_query_discards", Command::New, true, false, {}, {}, 0, 0, 0, "", false, false},
    {"new_cancel_keeps_document",
     Command::New,
     true,
     true,
     {PB::Cancel},
     {},
     1,
     0,
     0,
     "old",
     true,
     false},
    {"new_no_discards", Command::New, true, true, {PB::No}, {}, 1, 0, 0, "", false, false},
    {"new_yes_then_cancelled_save_asks_again",
     Command::New,
     true,
     true,
     {PB::Yes, PB::Cancel},
     {""},
     2,
     1,
     0,
     "old",
     true,
     false},
    {"new_yes_saves_then_clears",
     Command::New,
     true,
     true,
     {PB::Yes},
     {"kept.tyq"},
     1,
     1,
     0,
     "",
     false,
     false},
    {"open_unmodified_goes_to_dialog",
     Command::Open,
     false,
     true,
     {},
     {"other.tyq"},
     0,
     0,
     1,
     "other",
     false,
     false},
    {"open_without_query_goes_to_dialog",
     Command::Open,
     true,
     false,
     {},
     {"other.tyq"},
     0,
     0,
     1,
     "other",
     false,
     false},
    {"open_no_then_cancelled_dialog_keeps_text_unmodified",
     Command::Open,
     true,
     true,
     {PB::No},
     {""},
     1,
     0,
     1,
     "old",
     false,
     false},
    {"open_cancel_shows_no_dialog",
     Command::Open,
     true,
     true,
     {PB::Cancel},
     {},
     1,
     0,
     0,
     "old",
     true,
     false},
    {"open_yes_then_cancelled_save_asks_again",
     Command::Open,
     true,
     true,
     {PB::Yes, PB::Cancel},
     {""},
     2,
     1,
     0,
     "old",
     true,
     false},
    {"open_yes_saves_then_opens",
     Command::Open,
     true,
     true,
     {PB::Yes},
     {"kept.tyq", "other.tyq"},
     1,
     1,
     1,
     "other",
     false,
     false},
    {"drop_asks_even_without_query",
     Command::Drop,
     true,
     false,
     {PB::No},
     {},
     1,
     0,
     0,
     "other",
     false,
     false},
    {"drop_cancel_keeps_document",
     Command::Drop,
     true,
     true,
     {PB::Cancel},
     {},
     1,
     0,
     0,
     "old",
     true,
     false},
    {"drop_on_unmodified_opens",
     Command::Drop,
     false,
     true,
     {},
     {},
     0,
     0,
     0,
     "other",
     false,
     false},
    {"close_unmodified_closes", Command::Close, false, true, {}, {}, 0, 0, 0, "old", false, true},
    {"close_without_query_closes", Command::Close, true, false, {}, {}, 0, 0, 0, "old", true, true},
    {"close_cancel_stays_open",
     Command::Close,
     true,
     true,
     {PB::Cancel},
     {},
     1,
     0,
     0,
     "old",
     true,
     false},
    {"close_no_closes_unsaved",
     Command::Close,
     true,
     true,
     {PB::No},
     {},
     1,
     0,
     0,
     "old",
     true,
     true},
    {"close_yes_then_cancelled_save_stays_open",
     Command::Close,
     true,
     true,
     {PB::Yes},
     {""},
     1,
     1,
     0,
     "old",
     true,
     false},
    {"close_yes_saves_and_closes",
     Command::Close,
     true,
     true,
     {PB::Yes},
     {"kept.tyq"},
     1,
     1,
     0,
     "old",
     false,
     true},
};

class QuestionLoop : public testing::TestWithParam<LoopRow> {};

TEST_P(QuestionLoop, FollowsTheAnswers) {
    const LoopRow& row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeBytes(dir.filePath("other.tyq"), "5*5 ==> 25 \r\nother");

    FakeHost host;
    host.record.OptQueryDiscard = row.queryDiscard;
    host.record.Language = 1;
    host.modified = row.modified;
    host.lines = {"old"};
    ScriptedPrompts prompts;
    prompts.answers.assign(row.answers.begin(), row.answers.end());
    for (const char* f : row.files)
        prompts.files.push_back(*f ? dir.filePath(QString::fromUtf8(f)) : QString());

    FileCommands commands(host);
    bool closes = false;
    switch (row.command) {
        case Command::New:
            commands.createNew();
            break;
        case Command::Open:
            commands.open();
            break;
        case Command::Drop:
            commands.openDropped({dir.filePath("other.tyq"), dir.filePath("kept.tyq")});
            break;
        case Command::Close:
            closes = commands.closeQuery();
            break;
    }

    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::Ask), row.questions);
    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::SaveFile), row.saveDialogs);
    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::OpenFile), row.openDialogs);
    for (const auto& r : prompts.asked) {
        if (r.kind != ScriptedPrompts::Kind::Ask) continue;
        EXPECT_EQ(r.icon, PromptIcon::Warning);
        EXPECT_EQ(r.buttons, (PB::Yes | PB::No) | static_cast<unsigned>(PB::Cancel));
        EXPECT_TRUE(r.text.endsWith(" Do you want to save the change?[y/n]"))
            << r.text.toStdString();
    }
    const QString after = QString::fromUtf8(row.linesAfter);
    if (after == "old") {
        EXPECT_EQ(host.lines, QStringList{"old"});
    } else if (after == "") {
        EXPECT_TRUE(host.lines.isEmpty());
    } else {
        EXPECT_EQ(host.lines, (QStringList{"5*5 ==> 25 ", "other"}));
        EXPECT_EQ(host.fileName, dir.filePath("other.tyq"));
        EXPECT_EQ(host.title, "other.tyq - Tallyon");
    }
    EXPECT_EQ(host.modified, row.modifiedAfter);
    if (row.command == Command::Close) {
        EXPECT_EQ(closes, row.closes);
    }
    if (row.saveDialogs > 0 && !row.files.empty() && *row.files.front()) {
        EXPECT_EQ(readBytes(dir.filePath("kept.tyq")), "old");
    }
    EXPECT_TRUE(host.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, QuestionLoop, testing::ValuesIn(kLoopRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// ---------------------------------------------------------------------------------------
// Real files

class DocumentFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    FakeHost host;
};

TEST_F(DocumentFiles, SaveWritesLinesAsShownWithCrLfInUtf8) {
    host.lines = {"1+2 ==> 3 ", "x := 2 ; 長さ", ""};
    host.modified = true;
    ScriptedPrompts prompts;
    prompts.files.push_back(path("a.tyq"));
    FileCommands commands(host);
    EXPECT_TRUE(commands.save());  // untitled: goes through Save As
    EXPECT_EQ(readBytes(path("a.tyq")), QString("1+2 ==> 3 \r\nx := 2 ; 長さ\r\n").toUtf8());
    EXPECT_EQ(host.title, "a.tyq - Tallyon");
    EXPECT_EQ(host.status, "");
    EXPECT_FALSE(host.modified);
}

TEST_F(DocumentFiles, ShiftJisDocumentOpensWithItsJapaneseAndSavesAsUtf8) {
    // "長さ" in Shift-JIS, with Windows line breaks.
    writeBytes(path("old.tyq"), QByteArray("x := 2 ; \x92\xB7\x82\xB3\r\n5*5 ==> 25 "));
    FileCommands commands(host);
    ASSERT_TRUE(commands.loadFile(path("old.tyq")));
    EXPECT_EQ(host.lines, (QStringList{QString::fromUtf8("x := 2 ; 長さ"), "5*5 ==> 25 "}));
    host.modified = true;
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(readBytes(path("old.tyq")),
              QString::fromUtf8("x := 2 ; 長さ\r\n5*5 ==> 25 ").toUtf8());
}

// A save that cannot be written: the file (or folder) in the way stays as it was, the user is
// told why, the document stays modified and keeps its name.
TEST_F(DocumentFiles, FailedSaveKeepsOldFileNameAndModifiedFlag) {
    writeBytes(path("a.tyq"), "before");
    host.fileName = path("a.tyq");
    host.lines = {"after"};
    host.modified = true;
    FileCommands commands(host);

    // The document's folder replaced by a file of the same name.
    const QString folder = path("sub");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    host.fileName = folder + "/a.tyq";
    ASSERT_TRUE(QDir(folder).removeRecursively());
    writeBytes(folder, "a file now");
    EXPECT_FALSE(commands.save());
    EXPECT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(readBytes(folder), "a file now");

    // Save As onto a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.tyq"));
    host.fileName = path("a.tyq");
    ScriptedPrompts prompts;
    prompts.files.push_back(path("folder.tyq"));
    EXPECT_FALSE(commands.saveAs());
    EXPECT_EQ(host.errors.size(), 2);
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(host.fileName, path("a.tyq"));
    EXPECT_TRUE(QFileInfo(path("folder.tyq")).isDir());
    EXPECT_EQ(readBytes(path("a.tyq")), "before");
    for (const QString& e : host.errors)
        EXPECT_FALSE(e.isEmpty());
}

// A load that fails leaves the text and the previous name, so Save writes where it came from
// and never over the file that failed to load.
TEST_F(DocumentFiles, FailedLoadKeepsTextAndPreviousName) {
    writeBytes(path("a.tyq"), "a");
    host.fileName = path("a.tyq");
    host.lines = {"a", "typed"};
    ASSERT_TRUE(QDir(dir.path()).mkdir("b.tyq"));  // a folder where the file was
    ScriptedPrompts prompts;
    prompts.files.push_back(path("b.tyq"));
    FileCommands commands(host);
    commands.open();
    EXPECT_EQ(host.errors.size(), 1);
    EXPECT_EQ(host.lines, (QStringList{"a", "typed"}));
    EXPECT_EQ(host.fileName, path("a.tyq"));
    EXPECT_EQ(host.title, "a.tyq - Tallyon");

    // A file that vanished between choosing and reading.
    EXPECT_FALSE(commands.loadFile(path("gone.tyq")));
    EXPECT_EQ(host.fileName, path("a.tyq"));

    host.modified = true;
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(readBytes(path("a.tyq")), "a\r\ntyped");
    EXPECT_TRUE(QFileInfo(path("b.tyq")).isDir());
}

TEST_F(DocumentFiles, KeyUpShowsModifiedOnlyWhenModified) {
    FileCommands commands(host);
    commands.updateTitleAndStatus();
    EXPECT_EQ(host.status, "");
    commands.keyReleased();
    EXPECT_EQ(host.status, "");
    host.modified = true;
    commands.keyReleased();
    EXPECT_EQ(host.status, "Modified");
    host.modified = false;
    commands.keyReleased();  // nothing clears the mark here
    EXPECT_EQ(host.status, "Modified");
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The commands in the real window, driven offscreen with the dialogs answered by script

namespace {

class WindowFiles : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        start();
        window->settingsRecord().Language = 1;
        window->settingsRecord().OptQueryDiscard = true;
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString text() const { return window->REdit1->toPlainText(); }
    QString status() const { return window->statusPanelText(0); }
    void type(const char* keys) { QTest::keyClicks(window->REdit1, QString::fromUtf8(keys)); }
    void pressReturn() { QTest::keyClick(window->REdit1, Qt::Key_Return); }
    void run(const char* command) {
        QAction* a = window->action(command);
        ASSERT_NE(a, nullptr) << command;
        window->idleUpdater().runNow();
        a->trigger();
    }
    void drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &dropped);
    }

    QTemporaryDir dir;
};

TEST_F(WindowFiles, TypedLineSavedUnderANameClearsTheMarkAndDisablesSave) {
    type("1+2");
    pressReturn();
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(status(), "Modified");
    EXPECT_TRUE(enabled("AtnFileSave"));
    prompts.files.push_back(path("a.tyq"));
    run("AtnFileSave");
    ASSERT_EQ(countOf(prompts, ScriptedPrompts::Kind::SaveFile), 1);
    EXPECT_EQ(prompts.asked[0].title, "Save - Tallyon");
    EXPECT_EQ(window->windowTitle(), "a.tyq - Tallyon");
    EXPECT_EQ(status(), "");
    EXPECT_FALSE(enabled("AtnFileSave"));
    EXPECT_EQ(readBytes(path("a.tyq")), "1+2 ==> 3 \r\n");
    type("4");
    QTest::keyRelease(window->REdit1, Qt::Key_4);
    EXPECT_EQ(status(), "Modified");  // the key-up shows the mark at once
    EXPECT_TRUE(enabled("AtnFileSave"));
}

TEST_F(WindowFiles, OpenedAnswerIsColouredBoldAndProtected) {
    writeBytes(path("s.tyq"), "5*5 ==> 25 ");
    prompts.files.push_back(path("s.tyq"));
    run("AtnFileOpen");
    ASSERT_EQ(text(), "5*5 ==> 25 ");
    EXPECT_EQ(prompts.asked.at(0).title, "Open - Tallyon");
    EXPECT_EQ(window->windowTitle(), "s.tyq - Tallyon");
    EXPECT_EQ(status(), "");
    QTextCursor c(window->REdit1->document());
    c.setPosition(10);  // after "2" of the answer
    EXPECT_GT(c.charFormat().fontWeight(), QFont::Normal);
    EXPECT_TRUE(window->REdit1->isProtectedAt(8));
    EXPECT_TRUE(window->REdit1->isProtectedAt(3));  // the arrow
    EXPECT_FALSE(window->REdit1->isProtectedAt(0));
    EXPECT_FALSE(enabled("AtnEditUndo"));  // loading leaves nothing to undo
}

TEST_F(WindowFiles, WithoutQueryNewDiscardsButADropStillAsks) {
    window->settingsRecord().OptQueryDiscard = false;
    type("7");
    run("AtnFileNew");
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(text(), "");
    writeBytes(path("d.tyq"), "dropped");
    type("8");
    prompts.answers.push_back(PromptButton::No);
    drop({path("d.tyq")});
    ASSERT_EQ(countOf(prompts, ScriptedPrompts::Kind::Ask), 1);
    EXPECT_EQ(prompts.asked[0].text,
              "Current document has been modified. Opening a new document will discard the "
              "change. Do you want to save the change?[y/n]");
    EXPECT_EQ(text(), "dropped");
    EXPECT_EQ(window->windowTitle(), "d.tyq - Tallyon");
}

TEST_F(WindowFiles, DroppingSeveralFilesOpensOnlyTheFirst) {
    writeBytes(path("first.tyq"), "first");
    writeBytes(path("second.tyq"), "second");
    drop({path("first.tyq"), path("second.tyq")});
    EXPECT_EQ(text(), "first");
    EXPECT_EQ(window->documentFileName(), path("first.tyq"));
}

TEST_F(WindowFiles, ClosingWithYesThenCancelledSaveKeepsTheWindowOpen) {
    type("1");
    prompts.answers.push_back(PromptButton::Yes);
    prompts.files.push_back(QString());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(countOf(prompts, ScriptedPrompts::Kind::Ask), 1);
    EXPECT_TRUE(prompts.asked[0].text.contains("Closing Tallyon will discard the change."));
    prompts.answers.push_back(PromptButton::No);
    EXPECT_TRUE(window->close());
}

TEST_F(WindowFiles, OpenAnsweredNoThenCancelledLeavesTextUnmarked) {
    type("1+1");
    prompts.answers.push_back(PromptButton::No);
    prompts.files.push_back(QString());
    run("AtnFileOpen");
    EXPECT_EQ(text(), "1+1");
    EXPECT_EQ(status(), "");
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
}

TEST_F(WindowFiles, FailedSaveReportsAndKeepsTheDocumentModified) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.tyq"));
    type("2*3");
    prompts.files.push_back(path("taken.tyq"));
    run("AtnFileSaveAs");
    EXPECT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(status(), "Modified");
    EXPECT_TRUE(enabled("AtnFileSave"));
}

// The open document's file replaced by a folder: Save reports why and changes nothing; a
// later Open of that folder fails too, leaves the text, and the document keeps its name.
TEST_F(WindowFiles, FileReplacedByAFolderIsNeverLostOrOverwritten) {
    writeBytes(path("a.tyq"), "1+1 ==> 2 ");
    prompts.files.push_back(path("a.tyq"));
    run("AtnFileOpen");
    ASSERT_EQ(text(), "1+1 ==> 2 ");
    ASSERT_TRUE(QFile::remove(path("a.tyq")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("a.tyq"));
    type("0");
    run("AtnFileSave");
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains("a.tyq")) << prompts.messages()[0].toStdString();
    EXPECT_TRUE(QFileInfo(path("a.tyq")).isDir());
    EXPECT_EQ(status(), "Modified");

    writeBytes(path("b.tyq"), "b");
    prompts.answers.push_back(PromptButton::Yes);  // save first, as b.tyq
    prompts.files.push_back(path("b.tyq"));
    prompts.files.push_back(path("a.tyq"));  // then open the folder
    run("AtnFileOpen");
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(text(), "01+1 ==> 2 ");  // typed at the caret, which loading put first
    EXPECT_EQ(window->windowTitle(), "b.tyq - Tallyon");
    EXPECT_EQ(readBytes(path("b.tyq")), "01+1 ==> 2 ");
}

// What the open dialog lists in a folder with the first filter chosen: a document saved here
// (".tyq" added) and one named in upper case from elsewhere, but no other file.
TEST_F(WindowFiles, OpenDialogListsDocumentsInEitherCase) {
    writeBytes(path("saved.tyq"), "1");
    writeBytes(path("OLD.TYQ"), "2");
    writeBytes(path("notes.txt"), "3");
    const FileChoice choice = DocumentOpenChoice(path("saved.tyq"));
    QFileDialog dialog(window.get(), choice.title, dir.path(), Prompts::qtFilter(choice.filter));
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    auto* list = dialog.findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    QStringList shown;
    const auto listed = [&] {
        shown.clear();
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            shown << list->model()->index(r, 0, root).data().toString();
        return shown.size() >= 2;
    };
    ASSERT_TRUE(QTest::qWaitFor(listed, 5000));
    QTest::qWait(50);  // let a late third entry show up if the filter let it through
    listed();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"OLD.TYQ", "saved.tyq"}));
}

// A session typed, saved, opened in a fresh window and calculated again reads the same. (The
// typed session ends in an empty line, and Calculate again adds a line break after a text
// that ends in one, so the comparison leaves trailing line breaks aside.)
TEST_F(WindowFiles, RoundTripThroughAFileRecalculatesToTheSameDocument) {
    for (const char* line :
         {"r1 := 4.7K", "r2 := 10K", "r1 // r2", "2^10 ; power", "s := 5 $ silent", "s * 2", "1/0",
          "F(X) := X*2", "F(21)", "名前 ; 日本語のコメント"}) {
        const QString l = QString::fromUtf8(line);
        if (l.toLatin1() == l.toUtf8())
            type(line);
        else  // key clicks carry ASCII only; an input method commits the rest
            window->REdit1->insertPlainText(l);
        pressReturn();
    }
    const QString typed = text();
    ASSERT_TRUE(typed.contains("F(21) ==> 42 ")) << typed.toStdString();
    prompts.files.push_back(path("session.tyq"));
    run("AtnFileSaveAs");
    ASSERT_TRUE(QFileInfo::exists(path("session.tyq")));
    window.reset();

    start();
    prompts.files.push_back(path("session.tyq"));
    run("AtnFileOpen");
    EXPECT_EQ(text(), typed);
    EXPECT_EQ(window->windowTitle(), "session.tyq - Tallyon");
    run("AtnTallyonReCalc");
    const auto body = [](QString t) {
        while (t.endsWith('\n'))
            t.chop(1);
        return t;
    };
    EXPECT_EQ(body(text()), body(typed));
    EXPECT_EQ(status(), "Modified");
}

}  // namespace
