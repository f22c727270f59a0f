// The variables commands over a real window and list, offscreen, with the host answering
// from a script: Add, Edit and Delete with their dialogs and questions, the three file
// commands with their questions and the current file name, and files read and written.
#include "variables/VariablesCommands.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <QTemporaryDir>
#include <ostream>

#include "ScriptedHost.h"
#include "document/CalcDocument.h"
#include "document/MemoryLineDocument.h"
#include "engine/VariableList.h"
#include "variables/Variables.h"

using namespace tallyon;
using Answer = VariablesHost::Answer;
using Shown = std::vector<std::pair<QString, QString>>;
using Lines = std::vector<std::string>;

namespace {

class Commands : public ApplicationFirst, public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(folder.isValid());
    }

    // Sets list and rows the way a calculation or a file would have.
    void define(const char* name, const char* value) {
        list.Set(name, value);
        commands.ShowVariable(name, value);
    }
    Shown rows() {
        window.refreshRows();
        return window.shownRows();
    }
    TRowId row(const char* name) { return window.rows().Find(name); }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    ScriptedHost host;
    TVariableList list;
    TFrmVariables window;
    VariablesCommands commands{list, window, host};
};

// ---------------------------------------------------------------------------------------
// Texts

TEST(CommandTexts, FollowTheLanguageSetting) {
    EXPECT_EQ(NotANumberText(1, "1q"), "1q is not correct number format.");
    EXPECT_EQ(NotANumberText(2, "1q"), "1q は正しい数値書式ではありません。");
    EXPECT_EQ(DeleteQuestionText(1, "X"), "Are you sure you want to delete 'X'?[y/n]");
    EXPECT_EQ(DeleteQuestionText(0, "X"), "本当に X を削除してもよろしいですか？[y/n]");
    EXPECT_EQ(ClearVariablesQuestionText(1),
              "Clearing variables will discard the current variables. Do you want to save the "
              "current variables?[y/n]");
    EXPECT_EQ(ClearVariablesQuestionText(7),
              "変数初期化を続けると現在の変数はすべて消去されます.現在の変数を保存しますか？[y/n]");
    EXPECT_EQ(OpenVariablesQuestionText(1),
              "Opening a variables-file will discard all the current variables.Do you want to "
              "save the current variables?[y/n]");
    EXPECT_EQ(OpenVariablesQuestionText(2),
              "変数ファイルを開くと現在の変数はすべて消去されます.現在の変数を保存しますか？[y/n]");
}

// ---------------------------------------------------------------------------------------
// Add, Edit, Delete

struct AddCase {
    const char* behaviour;
    std::vector<DialogScript> dialogs;
    std::vector<Answer> answers;  // to the not-a-number question
    Lines list;                   // afterwards, starting from X=5 with a row X
    Shown rows;
    int questions;
};
void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const AddCase kAddCases[] = {
    {"number_with_suffix_stored_as_number_shown_as_typed",
     {{"pi2", "1k"}},
     {},
     {"X=5", "PI2=1000"},
     {{"PI2", "1K"}, {"X", "5"}},
     0},
    {"existing_name_moves_to_the_end_of_the_list",
     {{"x", "2e3"}},
     {},
     {"X=2000"},
     {{"X", "2E3"}},
     0},
    {"existing_name_with_a_bad_number_answered_no_is_gone",
     {{"x", "abc"}},
     {Answer::No},
     {},
     {},
     1},
    {"bad_number_answered_yes_asks_again",
     {{"y", "1q"}, {"y", "0.5"}},
     {Answer::Yes},
     {"X=5", "Y=0.5"},
     {{"X", "5"}, {"Y", "0.5"}},
     1},
    {"number_beyond_the_range_is_not_a_number", {{"big", "1e99999"}}, {Answer::No}, {"X=5"},
     {{"X", "5"}}, 1},
    {"cancel_changes_nothing", {{"y", "1", false}}, {}, {"X=5"}, {{"X", "5"}}, 0},
    {"ok_with_an_empty_value_keeps_the_dialog_open_so_nothing_happens",
     {{"y", "", true}},
     {},
     {"X=5"},
     {{"X", "5"}},
     0},
};

class AddCommand : public Commands, public testing::WithParamInterface<AddCase> {};

TEST_P(AddCommand, ChangesListAndRows) {
    define("X", "5");
    for (const DialogScript& d : GetParam().dialogs)
        host.dialogs.push_back(d);
    for (Answer a : GetParam().answers)
        host.answers.push_back(a);
    commands.add();
    EXPECT_EQ(list.Lines(), GetParam().list);
    EXPECT_EQ(rows(), GetParam().rows);
    EXPECT_EQ(host.questions.size(), GetParam().questions);
    EXPECT_TRUE(host.dialogs.empty()) << "every scripted dialog was shown";
}

INSTANTIATE_TEST_SUITE_P(Table, AddCommand, testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(Commands, AddAgainOpensANewEmptyDialogAndAsksInTheLanguage) {
    host.languageSetting = 2;
    host.dialogs = {{"y", "zz"}, {"", "", false}};
    host.answers = {Answer::Yes};
    commands.add();
    ASSERT_EQ(host.dialogFields.size(), 2u);
    EXPECT_EQ(host.dialogFields[1], std::make_pair(QString(), QString()));
    EXPECT_EQ(host.questions, QStringList{"zz は正しい数値書式ではありません。"});
}

TEST_F(Commands, EditReplacesTheLineAtTheEndWithAnyValueText) {
    define("A", "1");
    define("B", "2");
    window.refreshRows();
    window.selectRow(row("A"));
    host.dialogs = {{"a", "2,3"}};
    commands.edit(row("A"));
    EXPECT_EQ(host.dialogFields.front(), std::make_pair(QString("A"), QString("1")));
    EXPECT_EQ(list.Lines(), (Lines{"B=2", "A=2,3"}));
    EXPECT_EQ(rows(), (Shown{{"A", "2,3"}, {"B", "2"}}));
    EXPECT_EQ(window.selectedRow(), row("A")) << "the edited row stays selected";
}

TEST_F(Commands, EditToAnExistingNameLeavesOneLineAndTwoRows) {
    define("A", "1");
    define("B", "2");
    host.dialogs = {{"b", "7x"}};
    commands.edit(row("A"));
    EXPECT_EQ(list.Lines(), (Lines{"B=7X"}));
    Shown shown = rows();
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (Shown{{"B", "2"}, {"B", "7X"}}));
}

TEST_F(Commands, EditCancelledChangesNothing) {
    define("A", "1");
    host.dialogs = {{"C", "3", false}};
    commands.edit(row("A"));
    EXPECT_EQ(list.Lines(), (Lines{"A=1"}));
    EXPECT_EQ(rows(), (Shown{{"A", "1"}}));
}

TEST_F(Commands, DeleteAsksAndFollowsTheAnswer) {
    define("A", "1");
    define("B", "2");
    host.answers = {Answer::No};
    commands.remove(row("A"));
    EXPECT_EQ(host.questions, QStringList{"Are you sure you want to delete 'A'?[y/n]"});
    EXPECT_EQ(list.Lines(), (Lines{"A=1", "B=2"}));
    EXPECT_EQ(rows().size(), 2u);

    host.answers = {Answer::Yes};
    commands.remove(row("A"));
    EXPECT_EQ(list.Lines(), (Lines{"B=2"}));
    EXPECT_EQ(rows(), (Shown{{"B", "2"}}));
}

// A row the list lacks (an empty value from a file, or an element the list does not store):
// Edit and Delete say so and leave list and row as they are.
TEST_F(Commands, RowWithoutAListLineIsToldAndKept) {
    define("A", "1");
    commands.ShowVariable("E", "");
    commands.ShowAssignment("V", "1", 100);
    host.dialogs = {{"E", "5"}};
    host.answers = {Answer::Yes};
    commands.edit(row("E"));
    commands.remove(row("V"));
    EXPECT_EQ(host.told.size(), 2u);
    EXPECT_TRUE(host.told[0].contains("'E'"));
    EXPECT_TRUE(host.questions.isEmpty());
    EXPECT_EQ(host.dialogFields.size(), 0u);
    EXPECT_EQ(list.Lines(), (Lines{"A=1"}));
    EXPECT_EQ(rows().size(), 3u);
}

// ---------------------------------------------------------------------------------------
// Variables files

// Values collected during a command end in the rows exactly as if shown in turn: the last
// value of each name up to case, element assignments on top of the values before them,
// "_CLIP" never shown, rows that existed before kept.
TEST_F(Commands, CollectedValuesEndAsIfShownInTurn) {
    struct Step {
        const char* name;
        const char* value;
        int index;  // -2: ShowVariable; else ShowAssignment with this index
    };
    const Step steps[] = {
        {"ANS", "1", -2},  {"x", "5", -1},    {"X", "6", -1},   {"ans", "2", -2},
        {"v", "9", -1},    {"V", "7", 2},     {"v", "8", 0},    {"_clip", "3", -1},
        {"ANS", "4", -2},  {"w", "1,2", -1},  {"W", "5", 1},    {"w", "0", -1},
        {"_ANS", "4", -2}, {"old", "10", -1}, {"X", "6", -1},
    };
    const auto run = [&steps](VariablesCommands& commands, bool collect) {
        commands.ShowVariable("OLD", "1");
        commands.ShowVariable("KEPT", "2");
        VariablesCommands::CollectShown shown(collect ? &commands : nullptr);
        for (const Step& step : steps) {
            if (step.index == -2) {
                commands.ShowVariable(step.name, step.value);
            } else {
                commands.ShowAssignment(step.name, step.value, step.index);
            }
        }
    };
    run(commands, false);
    TVariableList otherList;
    TFrmVariables otherWindow;
    VariablesCommands collecting{otherList, otherWindow, host};
    run(collecting, true);
    otherWindow.refreshRows();
    EXPECT_EQ(otherWindow.shownRows(), rows());
}

TEST_F(Commands, CalculatedAssignmentsSaveInTheOrderTheyEnteredTheList) {
    TMemoryLineDocument document({"x := 2", "y := 3", "v[2] := 7", "_clip := 4", ""});
    TSettingsRecord settings;
    TCalcDocument calc(document, list, settings);
    std::vector<std::string> clipboard;
    TCalcHooks hooks;
    hooks.ShowVariable = [this](const std::string& n, const std::string& v) {
        commands.ShowVariable(n, v);
    };
    hooks.ShowAssignment = [this](const std::string& n, const std::string& v, int i) {
        commands.ShowAssignment(n, v, i);
    };
    hooks.PutClipboardValue = [&](const std::string& v, int) { clipboard.push_back(v); };
    calc.SetHooks(hooks);
    calc.CalculateAgain();

    EXPECT_EQ(clipboard, Lines{"4"});
    EXPECT_EQ(rows(), (Shown{{"_ANS", "4"}, {"ANS", "4"}, {"V", "0,0,7"}, {"X", "2"}, {"Y", "3"}}))
        << "no row for _CLIP";
    host.files = {path("session.tyq")};
    EXPECT_TRUE(commands.saveVariablesAs());
    EXPECT_EQ(host.fileTitles, QStringList{"Save variables - Tallyon"});
    EXPECT_EQ(read("session.tyq"), "X=2\r\nANS=4\r\n_ANS=4\r\nY=3\r\nV=0,0,7\r\n_CLIP=4\r\n");
    EXPECT_EQ(commands.fileName(), path("session.tyq"));
}

TEST_F(Commands, OpenFollowsTheFileRulesAndRoundTrips) {
    write("in.tyq", "b=2\r\na=1\nB=5\ra note\r\n x = 1 \r\ne=\r\n_clip=4\r\n");
    define("OLD", "9");
    host.answers = {Answer::No};
    host.files = {path("in.tyq")};
    commands.openVariables();
    EXPECT_EQ(host.questions, QStringList{OpenVariablesQuestionText(1)});
    EXPECT_EQ(host.fileTitles, QStringList{"Open variables - Tallyon"});
    EXPECT_EQ(list.Lines(), (Lines{"B=2", "a=1", " x = 1 ", "_clip=4"}));
    EXPECT_EQ(rows(), (Shown{{" X ", " 1 "}, {"A", "1"}, {"B", "2"}, {"E", ""}}));
    EXPECT_EQ(commands.fileName(), path("in.tyq"));

    host.files = {path("out.tyq")};
    ASSERT_TRUE(commands.saveVariablesAs());
    TVariableList reread;
    TFrmVariables otherWindow;
    VariablesCommands other(reread, otherWindow, host);
    ASSERT_TRUE(other.recall(path("out.tyq")));
    EXPECT_EQ(reread.Lines(), list.Lines());
    EXPECT_EQ(other.fileName(), path("out.tyq"));
}

TEST_F(Commands, ShiftJisFileOpensWithItsJapanese) {
    // "変数=1" and "名前=2,3" in Shift-JIS.
    write("sjis.tyq", QByteArray("\x95\xCF\x90\x94=1\r\n\x96\xBC\x91\x4F=2,3\r\n"));
    host.answers = {Answer::No};
    host.files = {path("sjis.tyq")};
    commands.openVariables();
    EXPECT_EQ(list.Lines(), (Lines{"変数=1", "名前=2,3"}));
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_TRUE(host.errors.isEmpty());
}

struct FileQuestionCase {
    const char* behaviour;
    bool open;  // Open Variables, else Clear Variables
    std::vector<Answer> answers;
    std::vector<const char*> files;  // chosen in the dialogs; "" cancels
    Lines list;                      // afterwards, from A=1
    const char* fileName;            // the current variables file afterwards
    const char* saved;               // the file that must hold A=1, or ""
};
void PrintTo(const FileQuestionCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const FileQuestionCase kFileQuestionCases[] = {
    {"clear_cancel_changes_nothing", false, {Answer::Cancel}, {}, {"A=1"}, "start.tyq", ""},
    {"clear_no_empties_and_forgets_the_file", false, {Answer::No}, {}, {}, "", ""},
    {"clear_yes_saves_then_empties", false, {Answer::Yes}, {"kept.tyq"}, {}, "", "kept.tyq"},
    {"clear_yes_with_the_save_cancelled_keeps_all_but_the_name",
     false,
     {Answer::Yes},
     {""},
     {"A=1"},
     "",
     ""},
    {"clear_yes_with_a_failed_save_keeps_the_variables",
     false,
     {Answer::Yes},
     {"missing/kept.tyq"},
     {"A=1"},
     "missing/kept.tyq",
     ""},
    {"open_cancel_changes_nothing", true, {Answer::Cancel}, {}, {"A=1"}, "start.tyq", ""},
    {"open_no_loads_the_file", true, {Answer::No}, {"other.tyq"}, {"B=2"}, "other.tyq", ""},
    {"open_yes_saves_then_loads",
     true,
     {Answer::Yes},
     {"kept.tyq", "other.tyq"},
     {"B=2"},
     "other.tyq",
     "kept.tyq"},
    {"open_yes_then_open_cancelled_keeps_the_saved_file_current",
     true,
     {Answer::Yes},
     {"kept.tyq", ""},
     {"A=1"},
     "kept.tyq",
     "kept.tyq"},
    {"open_yes_with_the_save_cancelled_stops", true, {Answer::Yes}, {""}, {"A=1"}, "", ""},
    {"open_yes_with_a_failed_save_stops_before_discarding",
     true,
     {Answer::Yes},
     {"missing/kept.tyq"},
     {"A=1"},
     "missing/kept.tyq",
     ""},
    {"open_of_an_unreadable_file_keeps_the_variables",
     true,
     {Answer::No},
     {"absent.tyq"},
     {"A=1"},
     "absent.tyq",
     ""},
};

class FileQuestions : public Commands, public testing::WithParamInterface<FileQuestionCase> {};

TEST_P(FileQuestions, FollowTheAnswers) {
    const FileQuestionCase& c = GetParam();
    write("start.tyq", "A=1\r\n");
    write("other.tyq", "B=2\r\n");
    ASSERT_TRUE(commands.recall(path("start.tyq")));
    host.answers.assign(c.answers.begin(), c.answers.end());
    for (const char* f : c.files)
        host.files.push_back(*f ? path(f) : QString());

    if (c.open)
        commands.openVariables();
    else
        commands.clearVariables();

    EXPECT_EQ(list.Lines(), c.list);
    EXPECT_EQ(static_cast<std::size_t>(rows().size()), c.list.size());
    EXPECT_EQ(commands.fileName(), *c.fileName ? path(c.fileName) : QString());
    if (*c.saved) {
        EXPECT_EQ(read(c.saved), "A=1\r\n");
    }
    EXPECT_TRUE(host.files.empty()) << "every scripted file dialog was shown";
    const bool failing = std::string(c.behaviour).find("fail") != std::string::npos ||
                         std::string(c.behaviour).find("unreadable") != std::string::npos;
    EXPECT_EQ(host.errors.size(), failing ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, FileQuestions, testing::ValuesIn(kFileQuestionCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(Commands, RecallOfAMissingFileChangesNothingAndSaysNothing) {
    define("A", "1");
    EXPECT_FALSE(commands.recall(path("absent.tyq")));
    EXPECT_FALSE(commands.recall(QString()));
    EXPECT_EQ(list.Lines(), (Lines{"A=1"}));
    EXPECT_TRUE(commands.fileName().isEmpty());
    EXPECT_TRUE(host.errors.isEmpty());
}

}  // namespace
