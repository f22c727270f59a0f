// The variables list (checked against a plain first-match scan) and the comma list.
#include "engine/VariableList.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MathFault.h"
#include "engine/RuvoSub.h"

using namespace tallyon;

namespace {

TEST(VariableList, NamesMatchWithoutRegardToCase) {
    TVariableList list;
    list.Set("x", "1");
    list.Set("X", "2");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Line(0), "X=2");  // the name is spelled as given last
    EXPECT_EQ(list.Get("x"), "2");
    EXPECT_EQ(list.Find("X"), 0);
}

TEST(VariableList, ChangedValueKeepsItsPositionAndNewNamesAppend) {
    TVariableList list;
    list.Set("A", "1");
    list.Set("B", "2");
    list.Set("a", "3");
    list.Set("C", "4");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a=3", "B=2", "C=4"}));
}

TEST(VariableList, EmptyValueRemovesTheName) {
    TVariableList list;
    list.Set("A", "1");
    list.Set("B", "2");
    list.Set("a", "");
    EXPECT_EQ(list.Get("A"), "");
    EXPECT_EQ(list.Find("A"), -1);
    EXPECT_EQ(list.Find("B"), 0);
    list.Set("Q", "");  // absent: nothing happens
    EXPECT_EQ(list.Count(), 1);
}

TEST(VariableList, ValueIsTheTextAfterTheFirstEquals) {
    TVariableList list;
    list.AddLine("F(X)=X=1");
    list.AddLine("no equals sign");
    EXPECT_EQ(list.Get("f(x)"), "X=1");
    EXPECT_EQ(list.NameOfLine(0), "F(X)");
    EXPECT_EQ(list.NameOfLine(1), "");
    EXPECT_EQ(list.Find(""), 1);  // a line without "=" has an empty name part
}

TEST(VariableList, RepeatedNamesFromVerbatimLinesFindTheFirst) {
    TVariableList list;
    list.AddLine("A=1");
    list.AddLine("B=2");
    list.AddLine("a=3");
    EXPECT_EQ(list.Get("A"), "1");
    list.Delete(0);
    EXPECT_EQ(list.Find("A"), 1);
    EXPECT_EQ(list.Get("A"), "3");
    EXPECT_EQ(list.Find("B"), 0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Find("B"), -1);
}

TEST(VariableList, NumberValueReadsTheTextAsTheParserDoes) {
    TVariableList list;
    list.Set("K", "4.7K");
    list.Set("A", "1.5,2,3");
    list.Set("BAD", "abc");
    list.Set("HUGE", "1E400");
    EXPECT_EQ(list.NumberValue("k"), 4700.0);
    EXPECT_EQ(list.NumberValue("A"), 1.5);  // an array stands for its first element
    EXPECT_EQ(list.NumberValue("MISSING"), std::nullopt);
    EXPECT_THROW(list.NumberValue("BAD"), EConvertError);
    EXPECT_THROW(list.NumberValue("HUGE"), EMathError);
    // A failed reading is not kept: once the text is fixed, it reads.
    list.Set("bad", "2");
    EXPECT_EQ(list.NumberValue("BAD"), 2.0);
    // The stored text is untouched by reading it.
    EXPECT_EQ(list.Get("K"), "4.7K");
}

// A plain scan is the meaning of the list; the indexed list must agree with it after any
// sequence of operations.
struct ReferenceList {
    std::vector<std::string> lines;
    static std::string Upper(std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }
    static std::string Name(const std::string& line) {
        const size_t e = line.find('=');
        return e == std::string::npos ? "" : line.substr(0, e);
    }
    int Find(const std::string& name) const {
        for (size_t i = 0; i < lines.size(); ++i)
            if (Upper(Name(lines[i])) == Upper(name)) return static_cast<int>(i);
        return -1;
    }
    // The number the name stands for, read afresh from its text; "error" when it does not read.
    std::string Number(const std::string& name) const {
        const int i = Find(name);
        if (i < 0) return "none";
        const std::string& line = lines[static_cast<size_t>(i)];
        const std::string value = line.substr(line.find('=') + 1);
        if (value.empty()) return "none";
        try {
            return std::to_string(StoreDouble(RuvoStrToFloat(value.substr(0, value.find(',')))));
        } catch (const std::exception&) {
            return "error";
        }
    }
    void Set(const std::string& name, const std::string& value) {
        const int i = Find(name);
        if (value.empty()) {
            if (i >= 0) lines.erase(lines.begin() + i);
        } else if (i >= 0) {
            lines[static_cast<size_t>(i)] = name + "=" + value;
        } else {
            lines.push_back(name + "=" + value);
        }
    }
};

TEST(VariableList, AgreesWithAPlainScanOverRandomOperations) {
    const char* names[] = {"a", "A", "b", "B", "_ans", "_ANS", "x1", "X1", "", "f(x)"};
    TVariableList list;
    ReferenceList reference;
    uint32_t state = 7;
    auto next = [&state](uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    // Hints are kept per name (up to case), as a caller setting "ANS" on every line keeps
    // one; snapshots put older contents back, with the hints taken since left as they are.
    std::map<std::string, TVariableList::THint> hints;
    TVariableList snapshot;
    ReferenceList referenceSnapshot;
    for (int step = 0; step < 5000; ++step) {
        const std::string name = names[next(10)];
        switch (next(9)) {
            case 6: {
                const std::string value = std::to_string(step);
                std::string folded = name;
                for (char& c : folded)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                list.Set(name, value, hints[folded]);
                reference.Set(name, value);
                break;
            }
            case 7:
                snapshot = list;
                referenceSnapshot = reference;
                break;
            case 8:
                list = snapshot;
                reference = referenceSnapshot;
                break;
            case 0:
                list.Set(name, "");
                reference.Set(name, "");
                break;
            case 1:
                if (list.Count() > 0) {
                    const int i = static_cast<int>(next(static_cast<uint32_t>(list.Count())));
                    list.Delete(i);
                    reference.lines.erase(reference.lines.begin() + i);
                }
                break;
            case 2: {
                // Verbatim lines may hold texts that do not read, or nothing at all.
                const char* forms[] = {"v", "", "", "1,"};
                const std::string line =
                    name + "=" + forms[step % 4] + (step % 4 == 1 ? "" : std::to_string(step));
                list.AddLine(line);
                reference.lines.push_back(line);
                break;
            }
            default: {
                const std::string value = std::to_string(step);
                list.Set(name, value);
                reference.Set(name, value);
            }
        }
        ASSERT_EQ(list.Lines(), reference.lines) << "step " << step;
        for (const char* probe : names) {
            ASSERT_EQ(list.Find(probe), reference.Find(probe));
            // The kept number never outlives a change of its line.
            std::string number;
            try {
                const std::optional<double> value = list.NumberValue(probe);
                number = value ? std::to_string(*value) : "none";
            } catch (const std::exception&) {
                number = "error";
            }
            ASSERT_EQ(number, reference.Number(probe)) << "step " << step << " name " << probe;
        }
    }
}

// A value rewrites its line in place; a name or value that views the line itself is read
// before the line changes.
TEST(VariableList, SetReadsTextViewingTheLineItChanges) {
    TVariableList list;
    list.Set("Long", "1234567890123456789012345");
    list.Set("B", "2");
    list.Set("Long", std::string_view(list.Line(0)).substr(10, 5));  // "67890" of the old value
    EXPECT_EQ(list.Line(0), "Long=67890");
    list.Set(std::string_view(list.Line(0)).substr(0, 4), std::string_view(list.Line(0)));
    EXPECT_EQ(list.Line(0), "Long=Long=67890");
    list.Set("long", "1");  // shorter, spelled anew
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"long=1", "B=2"}));
    EXPECT_EQ(list.NumberValue("LONG"), 1.0);
}

// Hundreds of names make the index grow several times; deletions in the middle shift every
// later line, and verbatim lines repeat names, so a later line must take over a name.
TEST(VariableList, IndexFollowsGrowthDeletionAndRepeatedNames) {
    TVariableList list;
    ReferenceList reference;
    auto name = [](int i) { return (i % 2 ? "v" : "V") + std::to_string(i); };
    for (int i = 0; i < 400; ++i) {
        list.Set(name(i), std::to_string(i));
        reference.Set(name(i), std::to_string(i));
        if (i % 7 == 0) {
            const std::string line = name(i / 2) + "=dup" + std::to_string(i);
            list.AddLine(line);
            reference.lines.push_back(line);
        }
    }
    for (int i = 0; i < 400; i += 3) {
        list.Set(name(i), "");
        reference.Set(name(i), "");
    }
    list.Delete(5);
    reference.lines.erase(reference.lines.begin() + 5);
    ASSERT_EQ(list.Lines(), reference.lines);
    for (int i = 0; i < 420; ++i) {
        ASSERT_EQ(list.Find(name(i)), reference.Find(name(i))) << name(i);
        ASSERT_EQ(list.Find(ReferenceList::Upper(name(i))), reference.Find(name(i))) << name(i);
    }
    // A write after a read through the kept number is seen by the next read.
    list.Set("v1", "5");
    EXPECT_EQ(list.NumberValue("V1"), 5.0);
    list.Set("V1", "6");
    EXPECT_EQ(list.NumberValue("v1"), 6.0);
}

struct ReadCase {
    const char* name;
    const char* text;
    std::vector<std::string> items;
};

class ReadsCommaList : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadsCommaList, IntoItems) {
    EXPECT_EQ(ReadCommaList(GetParam().text), GetParam().items) << GetParam().text;
}

constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(
    CommaList, ReadsCommaList,
    testing::Values(ReadCase{"EmptyTextHasNoItems", "", {}},
                    ReadCase{"BlanksOnlyHaveNoItems", " \t\r\n", {}},
                    ReadCase{"Commas", "1,2,3", {"1", "2", "3"}},
                    ReadCase{"BlanksSeparateToo", "1 2\t3\r\n4", {"1", "2", "3", "4"}},
                    ReadCase{"BlanksAroundCommasSkipped", " 1 , 2 ", {"1", "2"}},
                    ReadCase{"EmptyItemBetweenCommas", "1,,3", {"1", "", "3"}},
                    ReadCase{"LeadingCommaGivesEmptyItem", ",1", {"", "1"}},
                    ReadCase{"TrailingCommaAddsOneEmptyItem", "1,", {"1", ""}},
                    ReadCase{"TrailingCommaThenBlanksAddsNothing", "1, ", {"1"}},
                    ReadCase{"QuotedItemKeepsBlanksAndCommas", "\"a b,c\",d", {"a b,c", "d"}},
                    ReadCase{"DoubledQuoteStandsForOne", "\"say \"\"hi\"\"\"", {"say \"hi\""}},
                    ReadCase{"TwoQuotesAreOneEmptyItem", "\"\"", {""}},
                    ReadCase{"UnclosedQuoteRunsToTheEnd", "\"ab,c", {"ab,c"}},
                    ReadCase{"TextAfterClosingQuoteIsNextItem", "\"ab\"cd", {"ab", "cd"}},
                    ReadCase{"HighBytesAreNoBlanks", "\xE6\x97\xA5,x", {"\xE6\x97\xA5", "x"}}),
    RowName);

TEST(CommaList, NulInsideTextSeparatesWithoutHanging) {
    EXPECT_EQ(ReadCommaList(std::string_view("1\0"
                                             "2",
                                             3)),
              (std::vector<std::string>{"1", "2"}));
}

struct WriteCase {
    const char* name;
    std::vector<std::string> items;
    const char* text;
};

class WritesCommaList : public testing::TestWithParam<WriteCase> {};

TEST_P(WritesCommaList, AndReadsBack) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(WriteCommaList(c.items), c.text);
    EXPECT_EQ(ReadCommaList(WriteCommaList(c.items)), c.items);
}

INSTANTIATE_TEST_SUITE_P(
    CommaList, WritesCommaList,
    testing::Values(WriteCase{"NoItems", {}, ""},
                    WriteCase{"JoinedWithoutBlanks", {"1", "2", "3.5"}, "1,2,3.5"},
                    WriteCase{"OneEmptyItemIsTwoQuotes", {""}, "\"\""},
                    WriteCase{"EmptyItemAmongOthers", {"1", "", "3"}, "1,,3"},
                    WriteCase{"BlankIsQuoted", {"a b"}, "\"a b\""},
                    WriteCase{"CommaIsQuoted", {"a,b", "c"}, "\"a,b\",c"},
                    WriteCase{"QuoteIsDoubled", {"x\"y"}, "\"x\"\"y\""},
                    WriteCase{"ControlCharacterIsQuoted", {"a\tb"}, "\"a\tb\""}),
    RowName);

}  // namespace
