// File commands in the real main window, driven offscreen with the message boxes and file
// dialogs answered by script: the save question's texts, the question loops of New, Open, a
// dropped file and closing for each answer with the title and status they leave, and saving
// and loading real files in a temporary folder, failures included.
#include <gtest/gtest.h>

#include <QAction>
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
#include <ostream>
#include <string>
#include <vector>

#include "app/FileCommands.h"
#include "app/WindowFixture.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << QString(text).replace(QChar(0x0A), QStringLiteral("⏎")).toStdString();
}

using namespace tallyon;
using PB = PromptButton;

namespace {

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
// The save question, the title and the dialogs

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
    {"new_japanese_uses_ascii_full_stops", DiscardOccasion::CreateNew, 2, "a.tyq",
     "a.tyq は変更されています. 新規作成を続行すると変更は失われます. 変更を保存しますか？[y/n]"},
    {"open_english_untitled", DiscardOccasion::Open, 1, "",
     "Current document has been modified. Opening a new document will discard the change. Do "
     "you want to save the change?[y/n]"},
    {"open_japanese_uses_ideographic_full_stops", DiscardOccasion::Open, 2, "",
     "現在の文書は変更されています． ファイルを開くと、変更は失われます． "
     "変更を保存しますか？[y/n]"},
    {"closing_english_named", DiscardOccasion::Closing, 1, "x/a.tyq",
     "a.tyq has been modified. Closing Tallyon will discard the change. Do you want to save the "
     "change?[y/n]"},
    {"closing_japanese_named", DiscardOccasion::Closing, 2, "a.tyq",
     "a.tyq は変更されています． Tallyonを閉じると変更は失われてしまいます． "
     "変更を保存しますか？[y/n]"},
    {"language_not_chosen_is_japanese", DiscardOccasion::Closing, 0, "",
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
    EXPECT_TRUE(open.filter.endsWith("|All files(*)|*"));  // names without a dot too
}

// ---------------------------------------------------------------------------------------
// The window

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
    // Types one character that has no key of its own (QTest knows only ASCII keys).
    void typeCharacter(const char* utf8) {
        QTest::sendKeyEvent(QTest::Click, window->REdit1, Qt::Key_unknown, QString::fromUtf8(utf8),
                            Qt::NoModifier);
    }
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

// ---------------------------------------------------------------------------------------
// Question loops: the untitled document "old" before each command

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
    const char* textAfter;
    const char* titleAfter;
    bool modifiedAfter;
    bool closes;  // for Close: the window may close
};
void PrintTo(const LoopRow& row, std::ostream* os) {
    *os << row.behaviour;
}

constexpr const char* kOther = "5*5 ==> 25 \nother";
constexpr const char* kUntitled = "Untitled - Tallyon";
constexpr const char* kOtherTitle = "other.tyq - Tallyon";

// clang-format off
const LoopRow kLoopRows[] = {
    // behaviour, command, modified, query, answers, files, questions, save and open dialogs,
    // text, title, modified and (for Close) closes afterwards
    {"new_unmodified_does_not_ask", Command::New, false, true, {}, {}, 0, 0, 0, "", kUntitled, false, false},
    {"new_without_query_discards", Command::New, true, false, {}, {}, 0, 0, 0, "", kUntitled, false, false},
    {"new_cancel_keeps_document", Command::New, true, true, {PB::Cancel}, {}, 1, 0, 0, "old", kUntitled, true, false},
    {"new_no_discards", Command::New, true, true, {PB::No}, {}, 1, 0, 0, "", kUntitled, false, false},
    {"new_yes_then_cancelled_save_asks_again", Command::New, true, true, {PB::Yes, PB::Cancel}, {""}, 2, 1, 0, "old", kUntitled, true, false},
    {"new_yes_saves_then_clears", Command::New, true, true, {PB::Yes}, {"kept.tyq"}, 1, 1, 0, "", kUntitled, false, false},
    {"open_unmodified_goes_to_dialog", Command::Open, false, true, {}, {"other.tyq"}, 0, 0, 1, kOther, kOtherTitle, false, false},
    {"open_without_query_goes_to_dialog", Command::Open, true, false, {}, {"other.tyq"}, 0, 0, 1, kOther, kOtherTitle, false, false},
    {"open_no_then_cancelled_dialog_leaves_text_unmarked", Command::Open, true, true, {PB::No}, {""}, 1, 0, 1, "old", kUntitled, false, false},
    {"open_cancel_shows_no_dialog", Command::Open, true, true, {PB::Cancel}, {}, 1, 0, 0, "old", kUntitled, true, false},
    {"open_yes_then_cancelled_save_asks_again", Command::Open, true, true, {PB::Yes, PB::Cancel}, {""}, 2, 1, 0, "old", kUntitled, true, false},
    {"open_yes_saves_then_opens", Command::Open, true, true, {PB::Yes}, {"kept.tyq", "other.tyq"}, 1, 1, 1, kOther, kOtherTitle, false, false},
    {"drop_asks_even_without_query", Command::Drop, true, false, {PB::No}, {}, 1, 0, 0, kOther, kOtherTitle, false, false},
    {"drop_cancel_keeps_document", Command::Drop, true, true, {PB::Cancel}, {}, 1, 0, 0, "old", kUntitled, true, false},
    {"drop_of_several_on_unmodified_opens_the_first", Command::Drop, false, true, {}, {}, 0, 0, 0, kOther, kOtherTitle, false, false},
    {"close_unmodified_closes", Command::Close, false, true, {}, {}, 0, 0, 0, "old", kUntitled, false, true},
    {"close_without_query_closes", Command::Close, true, false, {}, {}, 0, 0, 0, "old", kUntitled, true, true},
    {"close_cancel_stays_open", Command::Close, true, true, {PB::Cancel}, {}, 1, 0, 0, "old", kUntitled, true, false},
    {"close_no_closes_unsaved", Command::Close, true, true, {PB::No}, {}, 1, 0, 0, "old", kUntitled, true, true},
    {"close_yes_then_cancelled_save_stays_open", Command::Close, true, true, {PB::Yes}, {""}, 1, 1, 0, "old", kUntitled, true, false},
    {"close_yes_saves_and_closes", Command::Close, true, true, {PB::Yes}, {"kept.tyq"}, 1, 1, 0, "old", "kept.tyq - Tallyon", false, true},
};
// clang-format on

class QuestionLoop : public WindowFiles, public testing::WithParamInterface<LoopRow> {};

TEST_P(QuestionLoop, FollowsTheAnswers) {
    const LoopRow& row = GetParam();
    writeBytes(path("other.tyq"), "5*5 ==> 25 \r\nother");
    window->settingsRecord().OptQueryDiscard = row.queryDiscard;
    load({"old"});
    window->setModified(row.modified);
    window->UpdateTitleAndStatus();
    prompts.answers.assign(row.answers.begin(), row.answers.end());
    for (const char* f : row.files)
        prompts.files.push_back(*f ? path(f) : QString());

    switch (row.command) {
        case Command::New:
            run("AtnFileNew");
            break;
        case Command::Open:
            run("AtnFileOpen");
            break;
        case Command::Drop:
            drop({path("other.tyq"), path("kept.tyq")});
            break;
        case Command::Close:
            EXPECT_EQ(window->close(), row.closes);
            break;
    }

    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::Ask), row.questions);
    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::SaveFile), row.saveDialogs);
    EXPECT_EQ(countOf(prompts, ScriptedPrompts::Kind::OpenFile), row.openDialogs);
    for (const auto& r : prompts.asked) {
        if (r.kind != ScriptedPrompts::Kind::Ask) continue;
        EXPECT_EQ(r.icon, PromptIcon::Warning);
        EXPECT_EQ(r.buttons, (PB::Yes | PB::No) | static_cast<unsigned>(PB::Cancel));
        const DiscardOccasion occasion = row.command == Command::New ? DiscardOccasion::CreateNew
                                         : row.command == Command::Close ? DiscardOccasion::Closing
                                                                         : DiscardOccasion::Open;
        EXPECT_EQ(r.text, SaveQuestionText(occasion, 1, ""));
    }
    EXPECT_EQ(text(), QString::fromUtf8(row.textAfter));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(row.titleAfter));
    EXPECT_EQ(window->isModified(), row.modifiedAfter);
    EXPECT_EQ(status(), row.modifiedAfter ? "Modified" : "");
    if (row.saveDialogs > 0 && !row.files.empty() && *row.files.front()) {
        EXPECT_EQ(readBytes(path("kept.tyq")), "old");
    }
    EXPECT_TRUE(prompts.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, QuestionLoop, testing::ValuesIn(kLoopRows),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// ---------------------------------------------------------------------------------------
// Files

TEST_F(WindowFiles, TypedLineSavedUnderANameClearsTheMarkAndDisablesSave) {
    type("1+2");
    pressReturn();
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(status(), "Modified");
    EXPECT_TRUE(enabled("AtnFileSave"));
    prompts.files.push_back(path("a.tyq"));
    run("AtnFileSave");
    ASSERT_EQ(countOf(prompts, ScriptedPrompts::Kind::SaveFile), 1);
    EXPECT_EQ(prompts.asked[0].choice.title, "Save - Tallyon");
    EXPECT_EQ(window->windowTitle(), "a.tyq - Tallyon");
    EXPECT_EQ(status(), "");
    EXPECT_FALSE(enabled("AtnFileSave"));
    EXPECT_EQ(readBytes(path("a.tyq")), "1+2 ==> 3 \r\n");
    type("4");
    EXPECT_EQ(status(), "Modified");  // the key-up shows the mark at once
    EXPECT_TRUE(enabled("AtnFileSave"));
}

TEST_F(WindowFiles, OpenedAnswerIsColouredBoldAndProtected) {
    writeBytes(path("s.tyq"), "5*5 ==> 25 ");
    prompts.files.push_back(path("s.tyq"));
    run("AtnFileOpen");
    ASSERT_EQ(text(), "5*5 ==> 25 ");
    EXPECT_EQ(prompts.asked.at(0).choice.title, "Open - Tallyon");
    QTextCursor c(window->REdit1->document());
    c.setPosition(10);  // after the "2" of the answer
    EXPECT_GT(c.charFormat().fontWeight(), QFont::Normal);
    EXPECT_TRUE(window->REdit1->isProtectedAt(8));
    EXPECT_TRUE(window->REdit1->isProtectedAt(3));  // the arrow
    EXPECT_FALSE(window->REdit1->isProtectedAt(0));
    EXPECT_FALSE(enabled("AtnEditUndo"));  // loading leaves nothing to undo
}

// A document keeps the encoding it was read in: Shift-JIS comes back byte for byte, until
// the text holds a character Shift-JIS cannot represent; then it is saved in UTF-8 and the
// status bar says so. Create New starts over in UTF-8.
TEST_F(WindowFiles, ShiftJisDocumentIsSavedInShiftJisWhileItCan) {
    // "長さ" in Shift-JIS, with Windows line breaks.
    const QByteArray shiftJis("x := 2 ; \x92\xB7\x82\xB3\r\n5*5 ==> 25 ");
    writeBytes(path("old.tyq"), shiftJis);
    drop({path("old.tyq")});
    EXPECT_EQ(text(), QString::fromUtf8("x := 2 ; 長さ\n5*5 ==> 25 "));
    type("1");
    run("AtnFileSave");
    EXPECT_EQ(readBytes(path("old.tyq")), "1" + shiftJis);
    EXPECT_EQ(status(), "");

    type(" ");
    typeCharacter("é");
    run("AtnFileSave");
    EXPECT_EQ(readBytes(path("old.tyq")),
              QString::fromUtf8("1 éx := 2 ; 長さ\r\n5*5 ==> 25 ").toUtf8());
    EXPECT_EQ(status(), Utf8FallbackStatusText(1));
    EXPECT_FALSE(enabled("AtnFileSave"));
    type("2");
    EXPECT_EQ(status(), "Modified");  // the note goes with the next change

    writeBytes(path("old2.tyq"), shiftJis);
    drop({path("old2.tyq")});
    prompts.answers = {PB::No};
    run("AtnFileNew");
    typeCharacter("長");  // which Shift-JIS could hold
    prompts.files.push_back(path("new.tyq"));
    run("AtnFileSave");
    EXPECT_EQ(readBytes(path("new.tyq")), QString::fromUtf8("長").toUtf8());
    EXPECT_EQ(status(), "");
}

TEST_F(WindowFiles, QuestionNamesTheDocumentInTheChosenLanguage) {
    writeBytes(path("calc.tyq"), "1");
    drop({path("calc.tyq")});
    type("2");
    window->settingsRecord().Language = 2;
    prompts.answers = {PB::Cancel};
    run("AtnFileNew");
    ASSERT_EQ(countOf(prompts, ScriptedPrompts::Kind::Ask), 1);
    EXPECT_EQ(prompts.asked[0].text,
              "calc.tyq は変更されています. 新規作成を続行すると変更は失われます. "
              "変更を保存しますか？[y/n]");
    EXPECT_EQ(text(), "21");
}

// Writes that fail leave the file (or folder) in the way as it was, tell the user why, and
// keep the document modified under its old name; a load that fails keeps text and name, so a
// later Save never writes over the file that failed to load.
TEST_F(WindowFiles, FailuresNeverLoseOrOverwriteAFile) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.tyq"));
    writeBytes(path("plain"), "a file");
    type("2*3");
    prompts.files = {path("folder.tyq"), path("plain") + "/a.tyq"};
    run("AtnFileSaveAs");  // onto a folder
    run("AtnFileSaveAs");  // into a "folder" that is a file
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].contains("folder.tyq"))
        << prompts.messages()[0].toStdString();
    EXPECT_EQ(window->windowTitle(), "Untitled - Tallyon");
    EXPECT_EQ(status(), "Modified");
    EXPECT_TRUE(QFileInfo(path("folder.tyq")).isDir());
    EXPECT_EQ(readBytes(path("plain")), "a file");

    // The document's own file replaced by a folder.
    prompts.files = {path("a.tyq")};
    run("AtnFileSaveAs");
    ASSERT_TRUE(QFile::remove(path("a.tyq")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("a.tyq"));
    type("0");
    run("AtnFileSave");
    EXPECT_EQ(prompts.messages().size(), 3);
    EXPECT_TRUE(QFileInfo(path("a.tyq")).isDir());
    EXPECT_TRUE(window->isModified());

    // Save first as b.tyq, then open the folder: the load fails.
    prompts.answers = {PB::Yes};
    prompts.files = {path("b.tyq"), path("a.tyq")};
    run("AtnFileOpen");
    EXPECT_EQ(prompts.messages().size(), 4);
    EXPECT_EQ(text(), "2*30");
    EXPECT_EQ(window->windowTitle(), "b.tyq - Tallyon");
    type("5");
    run("AtnFileSave");
    EXPECT_EQ(readBytes(path("b.tyq")), "2*305");
}

// What the open dialog lists under its first filter: a document saved here (".tyq" added)
// and one named in upper case on another system, but no other file.
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
    QTest::qWait(50);  // a third entry, if the filter let one through, shows by now
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
