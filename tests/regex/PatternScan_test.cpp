// The search loop that the global substitution runs over one text: the word-wise slide to a
// byte that can begin a match, and the failed-walk memory kept from one match to the next.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

// A match at every offset of a word and of the tail, in both encodings, for sets of one to
// five beginning bytes (five is beyond the word-wise search) and for matches whose second
// byte is looked for together with the first.
TEST(PatternScan, FindsTheOnlyMatchAtEveryOffset) {
    const struct {
        const char* pattern;
        std::string needle;
    } rows[] = {{"#", "#"},       {"[#;]", "#"}, {"[#;:]", "#"},     {"[#;:!]", "#"},
                {"[#;:!?]", "#"}, {"#;", "#;"},  {"[#!][;:]", "#:"}, {"#+;", "##;"}};
    for (const auto encoding : {TTextEncoding::teUtf8, TTextEncoding::teShiftJis}) {
        for (const auto& row : rows) {
            TPatternString engine(encoding);
            engine.SetRegExp(row.pattern);
            for (std::size_t at = 0; at + row.needle.size() <= 27; ++at) {
                for (std::size_t from = 0; from <= at; ++from) {
                    std::string text(27, 'x');
                    text.replace(at, row.needle.size(), row.needle);
                    // A decoy: a beginning byte not followed by a possible second byte.
                    if (at >= 2) text[at - 2] = row.needle[0];
                    const auto match = engine.PlainSearch(text, from);
                    ASSERT_TRUE(match) << row.pattern << " at " << at << " from " << from;
                    const std::size_t start =
                        row.needle.size() == 1 && at >= 2 && from <= at - 2 ? at - 2 : at;
                    EXPECT_EQ(match->start, start) << row.pattern << " at " << at;
                }
            }
        }
    }
}

// Substitution by a plain search started afresh for every match, for comparison.
std::string SubstituteMatchByMatch(const TPatternString& engine, const std::string& text,
                                   const std::string& replacement, int& count) {
    std::string out;
    std::size_t pos = 0;
    count = 0;
    while (pos < text.size()) {
        const auto match = engine.PlainSearch(text, pos);
        if (!match) break;
        out.append(text, pos, match->start - pos);
        out += replacement;
        pos = match->end;
        ++count;
    }
    out.append(text, pos);
    return out;
}

struct ScanCase {
    const char* name;
    TTextEncoding encoding;
    const char* pattern;  // never matches the empty text
    std::vector<std::string> pieces;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class ScanAgreement : public testing::TestWithParam<ScanCase> {};

// Long texts of runs of the pieces, many longer than the walks that are remembered, so
// that failed walks are remembered across matches and later walks merge into them.
TEST_P(ScanAgreement, SubstitutionAgreesWithSearchesStartedAfresh) {
    const ScanCase& c = GetParam();
    TPatternString engine(c.encoding);
    engine.SetRegExp(c.pattern);
    std::mt19937 random(18);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        while (text.size() < 3000) {
            const std::string& piece = c.pieces[random() % c.pieces.size()];
            const int repeat = random() % 4 == 0 ? 1 + static_cast<int>(random() % 40) : 1;
            for (int i = 0; i < repeat; ++i)
                text += piece;
        }
        int expectedCount = 0;
        const std::string expected = SubstituteMatchByMatch(engine, text, "<>", expectedCount);
        std::string actual = text;
        ASSERT_EQ(engine.GSub("<>", actual), expectedCount) << "round " << round;
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

const ScanCase kScanCases[] = {
    {"comma_with_blanks",
     TTextEncoding::teUtf8,
     "[ \\t]+,[ \\t]+",
     {" ", "\t", ",", "1", "\xC3\xA9", "\x80"}},
    {"blank_runs", TTextEncoding::teUtf8, "[ \\t]+", {" ", "\t", "1", "\xE3\x81\x82"}},
    {"alternatives_that_fail_late",
     TTextEncoding::teUtf8,
     "a[ab]*c|b[ab]*d",
     {"a", "b", "c", "d", " "}},
    {"sjis_trail_bytes_beside_beginning_bytes",
     TTextEncoding::teShiftJis,
     "[@ ]+,",
     {"@", " ", ",", "\x81\x40", "\x82\x41", "\xB1"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, ScanAgreement, testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
