// Variables files: reading rules, filling the list, writing, and the round trip.
#include "variables/VariablesFile.h"

#include <gtest/gtest.h>

#include "textfile/TextFile.h"
#include "textfile/TempFolder.h"

using namespace tallyon;

namespace {

using TLines = std::vector<std::string>;

struct TLoadCase {
    const char* Name;
    std::string_view Text;
    TLines ListLines;  // the list afterwards
    TLines Shown;      // the rows shown, as name=value, in call order
};

const TLoadCase kLoadCases[] = {
    {"RepeatedNameKeepsFirstValueAndLastSpelling",
     "b=2\r\na=1\r\nB=5\r\na note\r\n",
     {"B=2", "a=1"},
     {"b=2", "a=1", "B=2"}},
    {"BlanksAroundNameAndValueStay", " x = 1\r\n", {" x = 1"}, {" x = 1"}},
    {"LinesWithoutNameAreSkipped", "=5\r\nnothing\r\nk=1\r\n", {"k=1"}, {"k=1"}},
    {"ValueMayContainEquals", "s=a=b\r\n", {"s=a=b"}, {"s=a=b"}},
    {"NulEndsTheText", std::string_view("a=1\r\n\0b=2\r\n", 11), {"a=1"}, {"a=1"}},
    {"EmptyValueAddsRowButNoListLine", "e=\r\nf=3\r\n", {"f=3"}, {"e=", "f=3"}},
    {"LoneCrAndLfEndLines", "a=1\rb=2\nc=3", {"a=1", "b=2", "c=3"}, {"a=1", "b=2", "c=3"}},
    {"ArrayValueKeptAsText", "V=1,2,3\r\n", {"V=1,2,3"}, {"V=1,2,3"}},
    {"EmptyFileClearsTheList", "", {}, {}},
};

class LoadVariablesTest : public testing::TestWithParam<TLoadCase> {};

TEST_P(LoadVariablesTest, ClearsThenSetsEveryNamedLine) {
    TVariableList list;
    list.Set("OLD", "9");
    TLines shown;
    LoadVariables(list, ParseVariablesText(GetParam().Text),
                  [&](const std::string& name, const std::string& value) {
                      shown.push_back(name + "=" + value);
                  });
    EXPECT_EQ(list.Lines(), GetParam().ListLines);
    EXPECT_EQ(shown, GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadVariablesTest, testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(VariablesFileTest, EveryLineEndsWithCrLf) {
    TVariableList list;
    list.Set("A", "1");
    list.Set("ANS", "3");
    list.Set("V", "1,2,3");
    EXPECT_EQ(VariablesText(list), "A=1\r\nANS=3\r\nV=1,2,3\r\n");
    EXPECT_EQ(VariablesText(TVariableList()), "");
}

TEST(VariablesFileTest, SavedFileRestoresSameLinesInSameOrder) {
    TTempFolder folder;
    TVariableList list;
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, std::string>>{{"X", "2"},
                                                          {"ANS", "3"},
                                                          {"_ANS", "3"},
                                                          {"Y", "1E-5"},
                                                          {"F(A)", "A*2"},
                                                          {"T", "\"a b\",c"},
                                                          {"\xE8\xA8\x88", "1"}})
        list.Set(name, value);
    const auto path = folder / "vars.tyq";
    WriteVariablesFile(path, list);
    TVariableList loaded;
    LoadVariables(loaded, ReadVariablesFile(path));
    EXPECT_EQ(loaded.Lines(), list.Lines());
}

TEST(VariablesFileTest, ShiftJisFileIsRead) {
    TTempFolder folder;
    const auto path = folder.Write("old.tyq", "\x8C\x76=1\r\n");
    const auto entries = ReadVariablesFile(path);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Name, "\xE8\xA8\x88");
}

TEST(VariablesFileTest, UnreadableFileRaisesBeforeListIsTouched) {
    TTempFolder folder;
    TVariableList list;
    list.Set("KEEP", "1");
    try {
        LoadVariables(list, ReadVariablesFile(folder / "missing.tyq"));
        FAIL() << "a missing file was read";
    } catch (const ETextFileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.tyq"), std::string::npos);
    }
    EXPECT_EQ(list.Lines(), (TLines{"KEEP=1"}));
}

}  // namespace
