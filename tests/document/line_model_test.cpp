// The line model: where answers are cut off, where expressions end, and where the editor
// finds the arrow and answer it colours.
#include "document/LineModel.h"

#include <gtest/gtest.h>

using namespace tallyon;

namespace {

struct TStripCase {
    const char* Name;
    std::string_view Line;
    std::string_view Body;
};

const TStripCase kStripCases[] = {
    {"LeadingBlanksAndAnswerGo", "  1+2 ==> 3 ", "1+2"},
    {"ErrorArrowCutsWhenNoNormalArrow", "x >>> 0 ", "x"},
    {"NormalArrowIsSearchedFirstInWholeLine", "a >>> b ==> c", "a >>> b"},
    {"LineWithoutArrowIsOnlyTrimmed", "\tno answer \t", "no answer"},
    {"ArrowNeedsBothBlanks", "1+2 ==>3", "1+2 ==>3"},
    {"AnswerOnlyLineLeavesNothing", " ==> 5 ", ""},
    {"ControlCharactersAreTrimmed", "\x01 7*7 \x1f", "7*7"},
    {"NonAsciiTextIsNotTrimmed", "\xC3\xA9 ==> 1 ", "\xC3\xA9"},
    {"EmptyLineStaysEmpty", "", ""},
    {"SecondArrowBelongsToTheAnswer", "1 ==> 2 ==> 3 ", "1"},
};

class StripAnswerTest : public testing::TestWithParam<TStripCase> {};

TEST_P(StripAnswerTest, GivesTheLineBody) {
    EXPECT_EQ(StripAnswer(GetParam().Line), GetParam().Body);
}

INSTANTIATE_TEST_SUITE_P(Lines, StripAnswerTest, testing::ValuesIn(kStripCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TSplitCase {
    const char* Name;
    std::string_view Body;
    std::string_view Expression;
    bool Silent;
};

const TSplitCase kSplitCases[] = {
    {"SilentMarkInCommentHasNoEffect", "1+2 ; note $", "1+2", false},
    {"SilentMarkEndsExpression", "x:=5 $ anything", "x:=5", true},
    {"CommentOnlyLineIsEmpty", "; only a comment", "", false},
    {"LeadingSilentMarkLeavesEmptySilentLine", "$ 1+2", "", true},
    {"FirstSilentMarkBeforeCommentCounts", "1+2 $ a ; b $", "1+2", true},
    {"InnerBlanksStayOuterGo", "  4 * 2   ; comment", "4 * 2", false},
    {"BlankLineIsEmpty", " \t ", "", false},
};

class SplitExpressionTest : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitExpressionTest, CutsCommentAndSilentMark) {
    const TSplitExpression split = SplitExpression(GetParam().Body);
    EXPECT_EQ(split.Expression, GetParam().Expression);
    EXPECT_EQ(split.Silent, GetParam().Silent);
}

INSTANTIATE_TEST_SUITE_P(Bodies, SplitExpressionTest, testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FindAnswerTest, NormalArrowRangeCoversArrowAnswerAndBlank) {
    const auto range = FindAnswer(std::string_view("1+2 ==> 3 "));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->Arrow, 3u);
    EXPECT_EQ(range->Answer(), 8u);
    EXPECT_EQ(range->AnswerLength(), 2u);
    EXPECT_FALSE(range->ErrorArrow);
}

TEST(FindAnswerTest, ErrorArrowIsReported) {
    const auto range = FindAnswer(std::string_view("x >>> 0 "));
    ASSERT_TRUE(range);
    EXPECT_TRUE(range->ErrorArrow);
    EXPECT_EQ(range->Arrow, 1u);
}

TEST(FindAnswerTest, FindsTheArrowStripAnswerCutsAt) {
    const auto range = FindAnswer(std::string_view("a >>> b ==> c"));
    ASSERT_TRUE(range);
    EXPECT_FALSE(range->ErrorArrow);
    EXPECT_EQ(range->Arrow, 7u);
}

TEST(FindAnswerTest, LineWithoutArrowHasNoAnswer) {
    EXPECT_FALSE(FindAnswer(std::string_view("1+2 ; note")));
    EXPECT_FALSE(FindAnswer(std::u16string_view(u"1+2 ; note")));
}

TEST(FindAnswerTest, Utf16FormCountsCodeUnits) {
    // "π" is two bytes in UTF-8 but one UTF-16 code unit.
    EXPECT_EQ(FindAnswer(std::string_view("\xCF\x80 ==> 3 "))->Arrow, 2u);
    const auto range = FindAnswer(std::u16string_view(u"\u03C0 ==> 3 "));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->Arrow, 1u);
    EXPECT_EQ(range->AnswerLength(), 2u);
}

TEST(ComposeAnswerLineTest, WritesBodyArrowAnswerAndOneBlank) {
    EXPECT_EQ(ComposeAnswerLine("2*3 ; area", false, "6"), "2*3 ; area ==> 6 ");
    EXPECT_EQ(ComposeAnswerLine("1/0", true, "0"), "1/0 >>> 0 ");
}

}  // namespace
