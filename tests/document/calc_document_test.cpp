// The calculation document over lines in memory: one line calculated, the two key actions
// that do not calculate, Calculate again and Remove answers, with the hooks recorded.
#include "document/CalcDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "document/MemoryLineDocument.h"
#include "textfile/TextFile.h"

using namespace tallyon;

namespace {

using TLines = std::vector<std::string>;

// A document, its variables and settings, and a record of every hook call.
class CalcFixture {
public:
    explicit CalcFixture(TLines lines)
        : Document(std::move(lines)), Calc(Document, Variables, Settings) {
        TCalcHooks hooks;
        hooks.ShowVariable = [this](const std::string& name, const std::string& value) {
            Log.push_back("show " + name + "=" + value);
        };
        hooks.ShowAssignment = [this](const std::string& name, const std::string& value,
                                      int index) {
            Log.push_back("assign " + name + "[" + std::to_string(index) + "]=" + value);
        };
        hooks.PutClipboardValue = [this](const std::string& value, int index) {
            Log.push_back("clip[" + std::to_string(index) + "]=" + value);
        };
        hooks.LoadClipboardVariable = [this] { Log.push_back("load clip"); };
        hooks.CopyAnswerToClipboard = [this](const std::string& answer, double value) {
            Copies.push_back(answer + "|" + std::to_string(value));
        };
        Calc.SetHooks(hooks);
    }

    TMemoryLineDocument Document;
    TVariableList Variables;
    TSettingsRecord Settings;
    TCalcDocument Calc;
    std::vector<std::string> Log;
    std::vector<std::string> Copies;
};

struct TLineCase {
    const char* Name;
    TLines Before;
    int Caret;
    TLines After;
    int CaretAfter;
    std::string Ans;  // "ANS" afterwards; empty when it must stay undefined
};

const TLineCase kLineCases[] = {
    {"AnswerWrittenAndLineAppended", {"1+2"}, 0, {"1+2 ==> 3 ", ""}, 1, "3"},
    {"OldAnswerIsReplaced", {"1+2 ==> 7 ", "x"}, 0, {"1+2 ==> 3 ", "x"}, 1, "3"},
    {"ErrorArrowAnswerIsRecalculated", {"2*2 >>> 0 ", "x"}, 0, {"2*2 ==> 4 ", "x"}, 1, "4"},
    {"LeadingBlanksGoCommentStays",
     {"   4*2   ; comment"},
     0,
     {"4*2   ; comment ==> 8 ", ""},
     1,
     "8"},
    {"SilentLineKeepsOnlyItsBody", {"x:=3 $ ==> 3 ", "y"}, 0, {"x:=3 $", "y"}, 1, "3"},
    {"EmptyExpressionLeavesAnsAlone", {"  ; note ==> 5 ", "y"}, 0, {"; note", "y"}, 1, ""},
    {"LastCountedLineBeforeBreakAppendsLine", {"5", ""}, 0, {"5 ==> 5 ", "", ""}, 1, "5"},
    {"MiddleLineMovesToNextLine", {"1", "2", "3"}, 1, {"1", "2 ==> 2 ", "3"}, 2, "2"},
    {"UncountedEmptyLastLineGetsAnotherBreak", {"1", ""}, 1, {"1", "", ""}, 2, ""},
};

class CalculateLineTest : public testing::TestWithParam<TLineCase> {};

TEST_P(CalculateLineTest, RewritesLineAndMovesCaret) {
    const TLineCase& c = GetParam();
    CalcFixture f(c.Before);
    f.Document.SetCaret(c.Caret, 0);
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Document.TextLines(), c.After);
    EXPECT_EQ(f.Document.CaretLine(), c.CaretAfter);
    EXPECT_EQ(f.Document.CaretColumn(), 0);
    EXPECT_EQ(f.Variables.Get("ANS"), c.Ans);
    EXPECT_EQ(f.Variables.Get("_ANS"), c.Ans);
    EXPECT_TRUE(f.Copies.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, CalculateLineTest, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CalculateLineTest, AnsRowsShownBeforeTheListIsSetAnsFirst) {
    CalcFixture f({"2+3"});
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Log, (std::vector<std::string>{"show ANS=5", "show _ANS=5"}));
    EXPECT_EQ(f.Variables.Lines(), (std::vector<std::string>{"ANS=5", "_ANS=5"}));
}

TEST(CalculateLineTest, AssignmentsGoToRowsAndClipToClipboard) {
    CalcFixture f({"x:=5", "_clip:=2*3", "y"});
    f.Calc.CalculateLine(false);
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Log, (std::vector<std::string>{"assign X[-1]=5", "show ANS=5", "show _ANS=5",
                                               "clip[-1]=6", "show ANS=6", "show _ANS=6"}));
    EXPECT_EQ(f.Variables.Get("X"), "5");
}

TEST(CalculateLineTest, AssignmentOnSilentLineStillReported) {
    CalcFixture f({"v:=7 $"});
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Log.front(), "assign V[-1]=7");
    EXPECT_EQ(f.Document.Line(0), "v:=7 $");
}

TEST(CalculateLineTest, LaterLineSeesEarlierAssignment) {
    CalcFixture f({"y:=1", "y+1"});
    f.Calc.CalculateLine(false);
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Document.Line(1), "y+1 ==> 2 ");
}

TEST(CalculateLineTest, FailedOperationGetsErrorArrowAlsoWhenSilent) {
    for (const std::string line : {"1/0", "1/0 $"}) {
        CalcFixture f({line});
        f.Calc.CalculateLine(false);
        EXPECT_TRUE(f.Document.Line(0).starts_with(line + " >>> ")) << f.Document.Line(0);
        EXPECT_EQ(f.Document.CaretLine(), 1);
    }
}

TEST(CalculateLineTest, RaisedErrorLeavesLineAnsAndCaretAlone) {
    CalcFixture f({"1 ==> 1 ", "v+1 ==> 9 ", "2"});
    f.Variables.Set("V", "not a number");
    f.Variables.Set("ANS", "1");
    f.Document.SetCaret(1, 3);
    EXPECT_ANY_THROW(f.Calc.CalculateLine(true));
    EXPECT_EQ(f.Document.Line(1), "v+1 ==> 9 ");
    EXPECT_EQ(f.Variables.Get("ANS"), "1");
    EXPECT_EQ(f.Document.CaretLine(), 1);
    EXPECT_EQ(f.Document.CaretColumn(), 3);
    EXPECT_TRUE(f.Copies.empty());
}

TEST(CalculateLineTest, RefusedPatternWritesResultTextAndZeroAns) {
    CalcFixture f({"1/4"});
    f.Settings.OptNumFormat = 4;
    f.Settings.OptNumFormatStr.assign(225, '0');
    f.Calc.CalculateLine(true);
    EXPECT_EQ(f.Document.Line(0), "1/4 ==> 0.25 ");
    EXPECT_EQ(f.Variables.Get("ANS"), "0");
    EXPECT_EQ(f.Copies, (std::vector<std::string>{"0.25|0.000000"}));
}

TEST(CalculateLineTest, AnswerUsesCurrentNumberFormat) {
    CalcFixture f({"1234.5"});
    f.Settings.OptNumFormat = 4;
    f.Settings.OptNumFormatStr = "#,##0.000;-#,##0.000;0.000";
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Document.Line(0), "1234.5 ==> 1,234.500 ");
}

TEST(CalculateLineTest, CopyHookGetsAnswerAndValueOnlyWhenAllowed) {
    CalcFixture f({"2*3", "; comment", "4"});
    f.Calc.CalculateLine(true);
    f.Calc.CalculateLine(true);
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Copies, (std::vector<std::string>{"6|6.000000", "|0.000000"}));
}

TEST(CalculateLineTest, LineLongerThan4096CharactersIsKeptWhole) {
    const std::string comment = "; " + std::string(5000, 'x');
    CalcFixture f({"6*7 " + comment});
    f.Calc.CalculateLine(false);
    EXPECT_EQ(f.Document.Line(0), "6*7 " + comment + " ==> 42 ");
}

TEST(KeyActionTest, ReturnKeyChoosesSettingCtrlWinsOverShift) {
    TSettingsRecord s;
    s.OptReturn = 3;
    s.OptShiftReturn = 1;
    s.OptCtrlReturn = 2;
    EXPECT_EQ(KeyMapAction(s, false, false), TKeyAction::LineBreak);
    EXPECT_EQ(KeyMapAction(s, true, false), TKeyAction::Calculate);
    EXPECT_EQ(KeyMapAction(s, false, true), TKeyAction::CarriageReturn);
    EXPECT_EQ(KeyMapAction(s, true, true), TKeyAction::CarriageReturn);
}

TEST(KeyActionTest, StoredValuesOutsideTheMapBreakTheLine) {
    for (int stored : {0, 4, -1, 99}) {
        TSettingsRecord s;
        s.OptReturn = stored;
        EXPECT_EQ(KeyMapAction(s, false, false), TKeyAction::LineBreak) << stored;
    }
}

TEST(KeyActionTest, CalculateLoadsClipboardFirstAndMayCopy) {
    CalcFixture f({"1+1"});
    f.Calc.RunKeyAction(TKeyAction::Calculate);
    EXPECT_EQ(f.Log.front(), "load clip");
    EXPECT_EQ(f.Copies.size(), 1u);
}

TEST(KeyActionTest, CarriageReturnStripsAndMovesOn) {
    CalcFixture f({"1+2 ==> 3 ", "b"});
    f.Calc.RunKeyAction(TKeyAction::CarriageReturn);
    EXPECT_EQ(f.Document.TextLines(), (TLines{"1+2", "b"}));
    EXPECT_EQ(f.Document.CaretLine(), 1);
    CalcFixture last({"1+2 ==> 3 "});
    last.Calc.RunKeyAction(TKeyAction::CarriageReturn);
    EXPECT_EQ(last.Document.TextLines(), (TLines{"1+2", ""}));
    EXPECT_EQ(last.Document.CaretLine(), 1);
    EXPECT_TRUE(last.Log.empty());
}

struct TBreakCase {
    const char* Name;
    std::string Line;
    int Column;
    std::string After;
    int ColumnAfter;
};

const TBreakCase kBreakCases[] = {
    {"CaretInExpressionStays", "12 ==> 12 ", 1, "12", 1},
    {"CaretInAnswerGoesToEndOfBody", "12 ==> 12 ", 8, "12", 2},
    {"CaretAtEndOfBodyStays", "12 ==> 12 ", 2, "12", 2},
    {"CaretNeverSplitsACharacter", "  \xC3\xA9\xC3\xA9 ==> 1 ", 5, "\xC3\xA9\xC3\xA9", 2},
    {"LeadingBlanksShiftTheCaret", "   1234", 5, "1234", 2},
    {"LeadingBlanksShiftTheCaretBeforeAnAnswer", " \t12 ==> 12 ", 3, "12", 1},
    {"CaretInLeadingBlanksGoesToTheStart", "   12", 2, "12", 0},
    {"CaretInTrailingBlanksGoesToTheEnd", "  12   ", 6, "12", 2},
};

class BreakLineTest : public testing::TestWithParam<TBreakCase> {};

TEST_P(BreakLineTest, StripsAnswerAndPlacesCaretForTheBreak) {
    CalcFixture f({GetParam().Line, "next"});
    f.Document.SetCaret(0, GetParam().Column);
    f.Calc.RunKeyAction(TKeyAction::LineBreak);
    EXPECT_EQ(f.Document.TextLines(), (TLines{GetParam().After, "next"}));
    EXPECT_EQ(f.Document.CaretLine(), 0);
    EXPECT_EQ(f.Document.CaretColumn(), GetParam().ColumnAfter);
}

INSTANTIATE_TEST_SUITE_P(Carets, BreakLineTest, testing::ValuesIn(kBreakCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(KeyActionTest, UnknownActionBreaksTheLine) {
    CalcFixture f({"5 ==> 5 "});
    f.Document.SetCaret(0, 1);
    TSettingsRecord unknown;
    unknown.OptReturn = 0;
    f.Calc.RunKeyAction(KeyMapAction(unknown, false, false));
    EXPECT_EQ(f.Document.TextLines(), (TLines{"5"}));
    EXPECT_TRUE(f.Log.empty());
}

struct TAgainCase {
    const char* Name;
    TLines Before;
    TLines After;
    int CaretAfter;
};

const TAgainCase kAgainCases[] = {
    {"AssignmentFlowsDownAndLineAppended",
     {"a:=2", "a*3 ==> 9 ", "a+1"},
     {"a:=2 ==> 2 ", "a*3 ==> 6 ", "a+1 ==> 3 ", ""},
     3},
    {"TrailingBreakGetsOneMoreBreak", {"1", "2", ""}, {"1 ==> 1 ", "2 ==> 2 ", "", ""}, 2},
    {"EmptyLastCountedLineStopsTheRun",
     {"1 ==> 1 ", "2 ==> 2 ", "", ""},
     {"1 ==> 1 ", "2 ==> 2 ", "", ""},
     2},
    {"BlankAndCommentLinesAreTrimmed", {"  ", " ; c ", "3"}, {"", "; c", "3 ==> 3 ", ""}, 3},
    {"EmptyDocumentStaysEmpty", {""}, {""}, 0},
};

class CalculateAgainTest : public testing::TestWithParam<TAgainCase> {};

TEST_P(CalculateAgainTest, RecalculatesTopToBottom) {
    CalcFixture f(GetParam().Before);
    f.Calc.CalculateAgain();
    EXPECT_EQ(f.Document.TextLines(), GetParam().After);
    EXPECT_EQ(f.Document.CaretLine(), GetParam().CaretAfter);
    // Repeating the command settles: the document does not keep growing.
    f.Calc.CalculateAgain();
    const TLines settled = f.Document.TextLines();
    f.Calc.CalculateAgain();
    EXPECT_EQ(f.Document.TextLines(), settled);
}

INSTANTIATE_TEST_SUITE_P(Documents, CalculateAgainTest, testing::ValuesIn(kAgainCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CalculateAgainTest, LoadsClipboardOnceAndCopiesOnlyLastLine) {
    CalcFixture f({"1", "2", "3"});
    f.Calc.CalculateAgain();
    EXPECT_EQ(std::count(f.Log.begin(), f.Log.end(), "load clip"), 1);
    EXPECT_EQ(f.Log.front(), "load clip");
    EXPECT_EQ(f.Copies, (std::vector<std::string>{"3|3.000000"}));
}

TEST(CalculateAgainTest, RaisedErrorStopsAtItsLine) {
    CalcFixture f({"1+1 ==> 5 ", "v+1", "3 ==> 9 "});
    f.Variables.Set("V", "abc");
    EXPECT_ANY_THROW(f.Calc.CalculateAgain());
    EXPECT_EQ(f.Document.TextLines(), (TLines{"1+1 ==> 2 ", "v+1", "3 ==> 9 "}));
    EXPECT_EQ(f.Document.CaretLine(), 1);
}

TEST(RemoveAnswersTest, EveryLineBecomesItsBody) {
    CalcFixture f({"  1+1 ==> 2 ", " plain ", "x >>> 0 ", "a >>> b ==> c", ""});
    f.Variables.Set("ANS", "2");
    f.Calc.RemoveAnswers();
    EXPECT_EQ(f.Document.TextLines(), (TLines{"1+1", "plain", "x", "a >>> b", ""}));
    EXPECT_EQ(f.Variables.Get("ANS"), "2");
    EXPECT_TRUE(f.Log.empty());
}

TEST(MemoryLineDocumentTest, EmptyLastLineIsNotCounted) {
    EXPECT_EQ(TMemoryLineDocument().LineCount(), 0);
    EXPECT_EQ(TMemoryLineDocument({"a"}).LineCount(), 1);
    EXPECT_EQ(TMemoryLineDocument({"a", ""}).LineCount(), 1);
    EXPECT_EQ(TMemoryLineDocument({"a", "", ""}).LineCount(), 2);
}

TEST(MemoryLineDocumentTest, TextIsSplitAsReadAndJoinedAsSaved) {
    for (const std::string text : {"", "a", "a\r\nb", "a\nb\n", "a\rb\r\r\nc", "\r\n\r\n", "x\r"}) {
        const TMemoryLineDocument document = TMemoryLineDocument::FromText(text);
        EXPECT_EQ(document.TextLines(), SplitTextLines(text)) << text;
        EXPECT_EQ(TMemoryLineDocument::FromText(document.Text()).TextLines(), document.TextLines())
            << text;
    }
}

// A document calculated once from the top hands on, line by line, exactly the lines it
// would hold at the end, also when a raised error stops the calculation halfway.
TEST(MemoryLineDocumentTest, HandsOnTheLinesItWouldHold) {
    const std::string texts[] = {
        "1+2\r\nx := 3\r\n;note\r\nx*2 ;\r\n",
        "1+2\nSQRT(\n4",
        "a := 1\r\n1/0\r\nUNKNOWN(2)\r\nlater\r\n",
        "1\r\n1E999\r\n2 ==> 5 ",  // raises at the second line
        "",
        "\r\n\r\n7",
    };
    for (const std::string& text : texts) {
        const auto calculate = [](TMemoryLineDocument& document) {
            TVariableList variables;
            TSettingsRecord settings;
            try {
                TCalcDocument(document, variables, settings).CalculateAgain();
            } catch (const std::exception&) {
            }
        };
        TMemoryLineDocument held = TMemoryLineDocument::FromText(text);
        calculate(held);
        TMemoryLineDocument streamed = TMemoryLineDocument::FromText(text);
        TLines handed;
        streamed.HandOnPassedLines([&handed](std::string_view line) { handed.emplace_back(line); });
        calculate(streamed);
        streamed.HandOnRest();
        EXPECT_EQ(handed, held.TextLines()) << testing::PrintToString(text);
    }
}

// Rewrites in any order, with texts that are views of the document's own lines, lines
// written past the end and enough waste to drop, leave the same lines as a plain vector.
TEST(MemoryLineDocumentTest, RewritesMatchAVectorOfLines) {
    std::mt19937 random(7);
    const auto pick = [&random](int bound) {
        return static_cast<int>(random() % static_cast<unsigned>(bound));
    };
    TMemoryLineDocument document = TMemoryLineDocument::FromText("1+2\r\nx := 3\n\nlast");
    TLines model = {"1+2", "x := 3", "", "last"};
    for (int step = 0; step < 20000; ++step) {
        const int count = static_cast<int>(model.size());
        const int n = pick(count + 2);
        switch (pick(4)) {
            case 0: {  // a new text, sometimes long
                const std::string text(
                    static_cast<std::size_t>(pick(3) == 0 ? pick(300) : pick(12)),
                    static_cast<char>('a' + step % 26));
                document.ReplaceLine(n, text);
                if (n >= count) model.resize(static_cast<std::size_t>(n) + 1);
                model[static_cast<std::size_t>(n)] = text;
                break;
            }
            case 1: {  // a view of another line, or of the same one, cut
                const int from = pick(count);
                const std::string_view view = document.TextLine(from);
                const std::string_view cut = view.substr(0, view.size() - view.size() / 3);
                const std::string expected(cut);
                document.ReplaceLine(n, cut);
                if (n >= count) model.resize(static_cast<std::size_t>(n) + 1);
                model[static_cast<std::size_t>(n)] = expected;
                break;
            }
            case 2:  // the same line again, as a calculation writes body then answer
                document.ReplaceLine(n, "body");
                document.ReplaceAnsweredLine(n, "body ==> 1 ");
                if (n >= count) model.resize(static_cast<std::size_t>(n) + 1);
                model[static_cast<std::size_t>(n)] = "body ==> 1 ";
                break;
            default:
                if (model.size() < 200) {
                    document.AppendEmptyLine();
                    model.emplace_back();
                }
                break;
        }
        ASSERT_EQ(document.TextLineCount(), static_cast<int>(model.size())) << "step " << step;
        const int check = pick(static_cast<int>(model.size()));
        ASSERT_EQ(document.Line(check), model[static_cast<std::size_t>(check)]) << "step " << step;
    }
    EXPECT_EQ(document.TextLines(), model);
}

}  // namespace
