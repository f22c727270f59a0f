// The rows store: what the calculation's reports leave in the rows, their order, and the
// batching of change notices that keeps long calculations cheap.
#include "variables/VariableRows.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tallyon;

namespace {

using Shown = std::vector<std::pair<QString, QString>>;

Shown Rows(TVariableRows& rows) {
    Shown shown;
    for (const TVariableRow& row : rows.Ordered())
        shown.emplace_back(row.Name, row.Value);
    return shown;
}

// One report: index -2 stands for ShowVariable, any other for ShowAssignment.
struct Report {
    const char* name;
    const char* value;
    int index = -2;
};

struct RowsCase {
    const char* behaviour;
    std::vector<Report> reports;
    Shown expected;
};
void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.behaviour;
}

const RowsCase kRowsCases[] = {
    {"underscore_names_sort_before_letters",
     {{"ANS", "5"}, {"_ANS", "5"}},
     {{"_ANS", "5"}, {"ANS", "5"}}},
    {"names_match_without_case_and_show_in_upper_case",
     {{"x", "1", -1}, {"X", "2", -1}},
     {{"X", "2"}}},
    {"value_case_is_kept", {{"v", "1k"}}, {{"V", "1k"}}},
    {"element_of_a_missing_row_pads_with_zeros", {{"V", "7", 2}}, {{"V", "0,0,7"}}},
    {"element_inside_the_array_is_replaced",
     {{"V", "7", 2}, {"V", "9", 1}},
     {{"V", "0,9,7"}}},
    {"element_beyond_the_end_pads_again",
     {{"V", "7", 2}, {"V", "9", 1}, {"V", "1", 4}},
     {{"V", "0,9,7,0,1"}}},
    {"element_zero_of_a_scalar_replaces_it", {{"S", "3"}, {"S", "4", 0}}, {{"S", "4"}}},
    {"element_of_a_quoted_list_keeps_the_quotes",
     {{"T", "\"a b\",c"}, {"T", "1", 1}},
     {{"T", "\"a b\",1"}}},
    {"whole_assignment_replaces_an_array", {{"V", "7", 2}, {"V", "1", -1}}, {{"V", "1"}}},
    {"huge_element_index_leaves_the_rows_alone",
     {{"V", "1", 2147483647}, {"W", "1", TVariableRows::kMaxElementIndex + 1}},
     {}},
    {"negative_element_index_leaves_the_rows_alone", {{"V", "1", -7}}, {}},
    {"largest_padded_index_still_shows", {{"V", "1", 150}}, {{"V", QString("0,").repeated(150) + "1"}}},
    {"blanks_in_names_are_kept_and_sort_first",
     {{"B", "1"}, {" x ", "2"}, {"A", "3"}},
     {{" X ", "2"}, {"A", "3"}, {"B", "1"}}},
    {"clipboard_never_gets_a_row",
     {{"_CLIP", "1"}, {"_clip", "2", -1}, {"_Clip", "3", 1}},
     {}},
    {"names_added_out_of_order_are_sorted",
     {{"Z", "1"}, {"M", "2"}, {"B", "3"}, {"_F", "4"}, {"A1", "5"}, {"A", "6"}},
     {{"_F", "4"}, {"A", "6"}, {"A1", "5"}, {"B", "3"}, {"M", "2"}, {"Z", "1"}}},
};

}  // namespace

class RowsReports : public testing::TestWithParam<RowsCase> {};

TEST_P(RowsReports, LeaveTheExpectedRows) {
    TVariableRows rows;
    for (const Report& r : GetParam().reports) {
        if (r.index == -2)
            rows.ShowVariable(r.name, r.value);
        else
            rows.ShowAssignment(r.name, r.value, r.index);
    }
    const Shown shown = Rows(rows);
    ASSERT_EQ(shown.size(), GetParam().expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].first, GetParam().expected[i].first) << "row " << i;
        EXPECT_EQ(shown[i].second, GetParam().expected[i].second) << "row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RowsReports, testing::ValuesIn(kRowsCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST(Rows, OneNoticePerBatchAndTheKindOfChange) {
    TVariableRows rows;
    int notices = 0;
    rows.SetOnChanged([&] { ++notices; });
    for (int i = 0; i < 1000; ++i) {
        rows.ShowVariable("ANS", QString::number(i));
        rows.ShowVariable("_ANS", QString::number(i));
    }
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(rows.TakeChanges(), TVariableRows::Values | TVariableRows::Layout);

    rows.ShowVariable("ANS", "5");
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(rows.TakeChanges(), unsigned{TVariableRows::Values});

    rows.ShowVariable("ANS", "5");  // the same value again is no change
    EXPECT_EQ(rows.TakeChanges(), unsigned{TVariableRows::None});
    EXPECT_EQ(notices, 2);
}

TEST(Rows, RenameIntoAnExistingNameKeepsBothAndFindTakesTheFirst) {
    TVariableRows rows;
    rows.ShowVariable("A", "1");
    rows.ShowVariable("B", "2");
    const TRowId a = rows.Find("a");
    const TRowId b = rows.Find("B");
    EXPECT_EQ(rows.Add("_clip", "1"), TRowId{0});
    rows.Change(a, "b", "9");
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.Row(a)->Name, "B");
    // Both rows are named B; Find takes the first in display order, and Delete frees the
    // name for the other.
    const TRowId first = rows.Find("B");
    EXPECT_TRUE(first == a || first == b);
    rows.Delete(first);
    EXPECT_EQ(rows.Find("b"), first == a ? b : a);
    EXPECT_EQ(rows.Find("A"), TRowId{0});
}

TEST(Rows, IdsSurviveSortingAndDeletion) {
    TVariableRows rows;
    rows.ShowVariable("M", "1");
    const TRowId m = rows.Find("M");
    rows.ShowVariable("C", "2");
    rows.ShowVariable("X", "3");
    rows.Delete(rows.Find("C"));
    rows.Ordered();
    ASSERT_NE(rows.Row(m), nullptr);
    EXPECT_EQ(rows.Row(m)->Value, "1");
    EXPECT_EQ(rows.Row(rows.Find("x"))->Value, "3");
    rows.Delete(m);
    rows.Delete(m);  // already gone: nothing happens
    EXPECT_EQ(rows.Count(), 1);
    rows.Change(rows.Find("X"), "_CLIP", "1");  // renamed to the clipboard: gone
    EXPECT_EQ(rows.Count(), 0);
}
