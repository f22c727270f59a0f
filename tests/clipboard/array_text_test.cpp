// The three list forms of the clipboard: delimited reading with each format's delimiter, line
// reading, and the comma list joined with each format's separator.
#include "clipboard/ArrayText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/VariableList.h"

using namespace tallyon;

namespace {

using TItems = std::vector<std::string>;

struct DelimitedCase {
    const char* name;
    char delimiter;
    std::string text;
    TItems items;
};

void PrintTo(const DelimitedCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadsDelimitedList : public testing::TestWithParam<DelimitedCase> {};

TEST_P(ReadsDelimitedList, IntoItems) {
    EXPECT_EQ(ReadDelimitedList(GetParam().text, GetParam().delimiter), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    ArrayText, ReadsDelimitedList,
    testing::Values(
        DelimitedCase{"TabRowOfCells", '\t', "3\t4\t5", {"3", "4", "5"}},
        DelimitedCase{
            "TabRowsOfASpreadsheetBecomeOneList", '\t', "1\t2\r\n3\t4\r\n", {"1", "2", "3", "4"}},
        DelimitedCase{"CommaIsTextUnderTab", '\t', "1,5\t2", {"1,5", "2"}},
        DelimitedCase{"TwoTabsAreOneSeparatorSinceTabIsABlank", '\t', "1\t\t2", {"1", "2"}},
        DelimitedCase{"SpacesInARunSeparateOnce", ' ', "1   2 3 ", {"1", "2", "3"}},
        DelimitedCase{"CommaIsTextUnderSpace", ' ', "1,2 3", {"1,2", "3"}},
        DelimitedCase{"TwoCommasGiveAnEmptyItem", ',', "1,,2", {"1", "", "2"}},
        DelimitedCase{"TrailingCommaAddsAnEmptyItem", ',', "1,2,", {"1", "2", ""}},
        DelimitedCase{"BlanksSeparateWhateverTheDelimiter", ',', "1 2\n3", {"1", "2", "3"}},
        DelimitedCase{"QuotedDelimiterStaysInTheItem", '\t', "\"a\tb\"\tc", {"a\tb", "c"}},
        DelimitedCase{"DoubledQuoteStandsForOne", ',', "\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        DelimitedCase{
            "MultibyteCharactersAreNeverSplit", ',', "数値,１２３\t円", {"数値", "１２３", "円"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    std::string text;
    TItems items;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadsLineList : public testing::TestWithParam<LineCase> {};

TEST_P(ReadsLineList, OneItemPerLine) {
    EXPECT_EQ(ReadLineList(GetParam().text), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    ArrayText, ReadsLineList,
    testing::Values(LineCase{"EmptyTextHasNoItems", "", {}},
                    LineCase{"CrLf", "1\r\n2\r\n3", {"1", "2", "3"}},
                    LineCase{"LoneLfAndLoneCr", "1\n2\r3", {"1", "2", "3"}},
                    LineCase{"LfCrIsTwoBreaks", "1\n\r2", {"1", "", "2"}},
                    LineCase{"TrailingBreakAddsNoItem", "1\r\n2\r\n", {"1", "2"}},
                    LineCase{"EmptyLinesInsideAreItems", "1\r\n\r\n3", {"1", "", "3"}},
                    LineCase{"BlanksAndTabsStayInTheLine", " 1\t2 \n3", {" 1\t2 ", "3"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
    const char* name;
    int format;
    std::string joined;  // "1,2,3" written in the format
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class ArrayFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(ArrayFormats, JoinWithTheSeparatorAndReadBack) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(JoinArrayText("1,2,3", c.format), c.joined);
    EXPECT_EQ(ReadArrayText(c.joined, c.format), (TItems{"1", "2", "3"}));
}

INSTANTIATE_TEST_SUITE_P(ArrayText, ArrayFormats,
                         testing::Values(FormatCase{"Comma", 0, "1,2,3"},
                                         FormatCase{"Tab", 1, "1\t2\t3"},
                                         FormatCase{"Space", 2, "1 2 3"},
                                         FormatCase{"CrLf", 3, "1\r\n2\r\n3"},
                                         FormatCase{"OtherValueAsComma", 7, "1,2,3"},
                                         FormatCase{"NegativeValueAsComma", -1, "1,2,3"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArrayText, JoinUnquotesTheCommaListsItems) {
    EXPECT_EQ(JoinArrayText(WriteCommaList({"a b", "x,y", "q\"q"}), 1), "a b\tx,y\tq\"q");
    EXPECT_EQ(JoinArrayText("", 0), "");
    EXPECT_EQ(JoinArrayText("\"\"", 1), "");
}

TEST(ArrayText, LineFormatReadsNeitherCommasNorBlanksAsSeparators) {
    EXPECT_EQ(ReadArrayText("1,2\r\n3 4", 3), (TItems{"1,2", "3 4"}));
}

}  // namespace
