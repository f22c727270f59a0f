// The clipboard exchange over a fake clipboard: normalising clipboard text into "_CLIP",
// writing assigned values and elements back, automatic copying, and the whole road through
// the calculation of document lines.
#include "clipboard/ClipboardExchange.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/CalcDocument.h"
#include "document/MemoryLineDocument.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"

using namespace tallyon;

namespace {

class FakeClipboard : public IClipboardText {
public:
    std::string text() const override {
        ++reads;
        return content;
    }
    void setText(const std::string& text) override {
        content = text;
        ++writes;
    }
    std::string content;
    mutable int reads = 0;
    int writes = 0;
};

// A document calculated with the exchange connected to its hooks.
class ExchangeFixture : public testing::Test {
protected:
    ExchangeFixture() { Exchange.ConnectHooks(Hooks); }

    // Calculates `line` as the only line of a fresh document by the key map's Calculate
    // action and returns the line as rewritten; variables and clipboard carry over.
    std::string calculate(const std::string& line) {
        TMemoryLineDocument document({line});
        TCalcDocument calc(document, Variables, Settings);
        calc.SetHooks(Hooks);
        calc.RunKeyAction(TKeyAction::Calculate);
        return document.Line(0);
    }

    FakeClipboard Clipboard;
    TVariableList Variables;
    TSettingsRecord Settings;
    TClipboardExchange Exchange{Clipboard, Variables, Settings};
    TCalcHooks Hooks;
};

struct NormaliseCase {
    const char* name;
    int format;
    std::string text;
    std::string normalised;
};

void PrintTo(const NormaliseCase& c, std::ostream* os) {
    *os << c.name;
}

class NormalisesClipboardText : public testing::TestWithParam<NormaliseCase> {};

TEST_P(NormalisesClipboardText, IntoTheValueOfClip) {
    FakeClipboard clipboard;
    TVariableList variables;
    TSettingsRecord settings;
    settings.OptNumFormatArray = GetParam().format;
    TClipboardExchange exchange(clipboard, variables, settings);
    EXPECT_EQ(exchange.NormaliseClipboardText(GetParam().text), GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(
    ClipboardExchange, NormalisesClipboardText,
    testing::Values(
        NormaliseCase{"OnlyACommaWithBlanksOnBothSidesIsReplaced", 0, "1 , 2 ,3", "1,2 ,3"},
        NormaliseCase{"TabFormatUsesTheCommaPattern", 1, "1\t,\t2", "1,2"},
        NormaliseCase{"SpaceFormatUsesTheCommaPattern", 2, "1 , 2", "1,2"},
        NormaliseCase{"SingleNumberStays", 0, "42", "42"},
        NormaliseCase{"ControlCharactersAreTrimmedFromBothEnds", 0,
                      std::string(" \t\r\n\0"
                                  "12.5\r\n\x01",
                                  12),
                      "12.5"},
        NormaliseCase{"TabRowIsKeptAsItIs", 1, "3\t4\t5", "3\t4\t5"},
        NormaliseCase{"SpreadsheetRowsKeepTheirSeparators", 1, "1\t2\r\n3\t4\r\n", "1\t2\r\n3\t4"},
        NormaliseCase{"CrLfWithBlanksAroundIt", 3, "1 \r\n 2", "1,2"},
        NormaliseCase{"CrLfWithoutBlanksStays", 3, "1\r\n2\r\n3\r\n", "1\r\n2\r\n3"},
        NormaliseCase{"OtherFormatTurnsBlankRunsIntoCommas", 9, "1 \t 2  3", "1,2,3"},
        NormaliseCase{"JapaneseTextSurvivesTheCommaPattern", 0, "合計 , 数値\r\n円",
                      "合計,数値\r\n円"},
        NormaliseCase{"JapaneseTextSurvivesTheCrLfPattern", 3, "表 \r\n 計算", "表,計算"},
        NormaliseCase{"JapaneseTextSurvivesTheBlankPattern", 9, "日本語 テキスト",
                      "日本語,テキスト"},
        NormaliseCase{"FullWidthSpaceAndCommaAreText", 9, "１　，　２", "１　，　２"},
        NormaliseCase{"OnlyBlanksGiveEmptyText", 0, " \r\n\t ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeFixture, LoadStoresClipAndAnEmptyClipboardRemovesIt) {
    Clipboard.content = " 1 , 2 \r\n";
    Exchange.LoadClipboardVariable();
    EXPECT_EQ(Variables.Get("_CLIP"), "1,2");
    Clipboard.content = "";
    Exchange.LoadClipboardVariable();
    EXPECT_EQ(Variables.Find("_CLIP"), -1);
}

struct PutCase {
    const char* name;
    int arrayFormat;
    std::string before;
    std::string value;
    int index;
    std::string after;
};

void PrintTo(const PutCase& c, std::ostream* os) {
    *os << c.name;
}

class PutsClipboardValue : public testing::TestWithParam<PutCase> {};

TEST_P(PutsClipboardValue, IntoTheClipboardText) {
    const PutCase& c = GetParam();
    FakeClipboard clipboard;
    clipboard.content = c.before;
    TVariableList variables;
    TSettingsRecord settings;
    settings.OptNumFormatArray = c.arrayFormat;
    TClipboardExchange exchange(clipboard, variables, settings);
    exchange.PutClipboardValue(c.value, c.index);
    EXPECT_EQ(clipboard.content, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    ClipboardExchange, PutsClipboardValue,
    testing::Values(PutCase{"WholeValueReplacesAnyText", 1, "1\t2\t3", "2", -1, "2"},
                    PutCase{"CommaElementReplaced", 0, "a,b", "1", 0, "1,b"},
                    PutCase{"CommaElementAppended", 0, "1,2", "7", 2, "1,2,7"},
                    PutCase{"TabPaddedWithZeros", 1, "1\t2", "7", 3, "1\t2\t0\t7"},
                    PutCase{"SpaceElementReplaced", 2, "1 2 3", "9", 1, "1 9 3"},
                    PutCase{"CrLfElementReplaced", 3, "1\r\n2\r\n3\r\n", "9", 2, "1\r\n2\r\n9"},
                    PutCase{"CrLfPaddedWithZeros", 3, "1", "5", 2, "1\r\n0\r\n5"},
                    PutCase{"OtherFormatActsAsComma", 5, "1,2", "4", 0, "4,2"},
                    PutCase{"EmptyClipboardPadsFromNothing", 0, "", "3", 1, "0,3"},
                    PutCase{"SpreadsheetRowsBecomeOneTabRow", 1, "1\t2\r\n3\t4", "8", 3,
                            "1\t2\t3\t8"},
                    PutCase{"JapaneseItemsAreKept", 0, "数値,2", "6", 1, "数値,6"},
                    PutCase{"ExistingItemBeyondTheArrayRangeIsReplaced", 0,
                            [] {
                                std::string text = "0";
                                for (int i = 1; i < 150; ++i)
                                    text += "," + std::to_string(i);
                                return text;
                            }(),
                            "x", 149,
                            [] {
                                std::string text = "0";
                                for (int i = 1; i < 149; ++i)
                                    text += "," + std::to_string(i);
                                return text + ",x";
                            }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeFixture, ClipboardNumberFormatOneSendsTheFormattedAnswer) {
    Settings.OptNumFormatClipboard = 1;
    Settings.OptNumFormat = 2;  // Fixed
    Settings.OptDigits = 2;
    Exchange.PutClipboardValue("2", -1);
    EXPECT_EQ(Clipboard.content, "2.00");
    Clipboard.content = "1,2";
    Exchange.PutClipboardValue("0.125", 0);
    EXPECT_EQ(Clipboard.content, "0.13,2");
}

TEST_F(ExchangeFixture, IndexesThatCannotBeStoredFailAndLeaveTheClipboard) {
    Clipboard.content = "1,2";
    EXPECT_THROW(Exchange.PutClipboardValue("5", -2), std::out_of_range);
    EXPECT_THROW(Exchange.PutClipboardValue("5", kMaxPaddedClipboardIndex + 1), std::out_of_range);
    EXPECT_THROW(Exchange.PutClipboardValue("5", 2147483647), std::out_of_range);
    EXPECT_EQ(Clipboard.content, "1,2");
    EXPECT_EQ(Clipboard.writes, 0);
    Exchange.PutClipboardValue("5", kMaxPaddedClipboardIndex);
    EXPECT_EQ(ReadCommaList(Clipboard.content).size(), kMaxPaddedClipboardIndex + 1u);
}

struct CopyCase {
    const char* name;
    bool automatic;
    int clipboardFormat;
    std::string answer;
    double value;
    std::string after;  // the clipboard held "old" before
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

class CopiesAnswer : public testing::TestWithParam<CopyCase> {};

TEST_P(CopiesAnswer, OnlyWhenAutomaticCopyIsOn) {
    const CopyCase& c = GetParam();
    FakeClipboard clipboard;
    clipboard.content = "old";
    TVariableList variables;
    TSettingsRecord settings;
    settings.OptAutomaticallyCopyState = c.automatic;
    settings.OptNumFormatClipboard = c.clipboardFormat;
    TClipboardExchange exchange(clipboard, variables, settings);
    exchange.CopyAnswerToClipboard(c.answer, c.value);
    EXPECT_EQ(clipboard.content, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    ClipboardExchange, CopiesAnswer,
    testing::Values(CopyCase{"OffCopiesNothing", false, 0, "0.33", 1.0 / 3, "old"},
                    CopyCase{"MaximumPrecision", true, 0, "0.33", 1.0 / 3, "0.333333333333333"},
                    CopyCase{"AsTheAnswer", true, 1, "0.33", 1.0 / 3, "0.33"},
                    CopyCase{"OtherFormatIsMaximumPrecision", true, 4, "x", 2.5, "2.5"},
                    CopyCase{"EmptyLineGivesZero", true, 0, "", 0, "0"},
                    CopyCase{"EmptyLineGivesEmptyAnswer", true, 1, "", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Through the calculation of document lines (the main window's test covers the rest).

TEST_F(ExchangeFixture, SpreadsheetTableReadsRowByRowWithTheTabFormat) {
    Settings.OptNumFormatArray = 1;
    Clipboard.content = "10\t20\r\n30\t40\r\n";
    EXPECT_EQ(calculate("_CLIP[1]+_CLIP[2]"), "_CLIP[1]+_CLIP[2] ==> 50 ");
}

TEST_F(ExchangeFixture, ElementAssignmentRewritesTheClipboardInTheArrayFormat) {
    Settings.OptNumFormatArray = 3;
    Clipboard.content = "1\r\n2\r\n3\r\n";
    calculate("_CLIP[1] := _CLIP[1]*10");
    EXPECT_EQ(Clipboard.content, "1\r\n20\r\n3");
    Settings.OptNumFormatArray = 1;
    calculate("_clip[4] := 1/3");
    EXPECT_EQ(Clipboard.content, "1\t20\t3\t0\t0.333333333333333");
}

TEST_F(ExchangeFixture, HugeIndexFailsTheLineInsteadOfPadding) {
    Clipboard.content = "1,2";
    const std::string line = calculate("_CLIP[1E9] := 5");
    EXPECT_NE(line.find(" >>> "), std::string::npos) << line;
    EXPECT_EQ(Clipboard.content, "1,2");
}

TEST_F(ExchangeFixture, OtherAssignmentsLeaveTheClipboard) {
    Clipboard.content = "12";
    calculate("X := 5");
    EXPECT_EQ(Clipboard.content, "12");
    EXPECT_EQ(Clipboard.writes, 0);
}

TEST_F(ExchangeFixture, CalculationThatRaisesCopiesNothing) {
    Exchange.ToggleAutomaticCopy();
    Clipboard.content = "kept";
    EXPECT_ANY_THROW(calculate("2X"));
    EXPECT_EQ(Clipboard.content, "kept");
}

TEST_F(ExchangeFixture, ClipIsReadBeforeEveryCalculationAndOnlyThen) {
    Clipboard.content = "5";
    EXPECT_EQ(calculate("_CLIP*2"), "_CLIP*2 ==> 10 ");
    Clipboard.content = "";
    EXPECT_EQ(calculate("_CLIP*2"), "_CLIP*2 ==> 0 ");
    EXPECT_EQ(Variables.Find("_CLIP"), -1);
    const int reads = Clipboard.reads;
    TMemoryLineDocument document({"_CLIP", "_CLIP+1", ""});
    TCalcDocument calc(document, Variables, Settings);
    calc.SetHooks(Hooks);
    Clipboard.content = "3";
    calc.CalculateAgain();
    EXPECT_EQ(Clipboard.reads, reads + 1);
    EXPECT_EQ(document.Line(1), "_CLIP+1 ==> 4 ");
}

}  // namespace
