// Global substitution, searches and escapes of the pattern engine, as tables of
// (pattern, replacement, text) rows with the expected text and count, in both encodings.
#include <gtest/gtest.h>

#include <string>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

constexpr auto kUtf8 = TTextEncoding::teUtf8;
constexpr auto kSjis = TTextEncoding::teShiftJis;
constexpr auto kCRLF = TLineSeparator::lsCRLF;
constexpr auto kLF = TLineSeparator::lsLF;

struct SubCase {
    const char* name;
    TTextEncoding encoding;
    TLineSeparator separator;
    std::string pattern;
    std::string replacement;
    std::string text;
    std::string expected;
    int count;
};

void PrintTo(const SubCase& c, std::ostream* os) {
    *os << c.name;
}

class Substitute : public testing::TestWithParam<SubCase> {};

TEST_P(Substitute, ReplacesEveryMatch) {
    const SubCase& c = GetParam();
    TPatternString engine(c.encoding);
    engine.SetLineSeparator(c.separator);
    engine.SetRegExp(c.pattern);
    std::string text = c.text;
    EXPECT_EQ(engine.GSub(c.replacement, text), c.count);
    EXPECT_EQ(text, c.expected);
}

const SubCase kSubCases[] = {
    // The program's own patterns.
    {"comma_with_blanks_on_both_sides_only", kUtf8, kCRLF, "[ \\t]+,[ \\t]+", ",", "1 , 2 ,3",
     "1,2 ,3", 1},
    {"blank_run_is_one_longest_match", kUtf8, kCRLF, "[ \\t]+", ",", "1  \t2", "1,2", 1},
    {"crlf_pattern_joins_lines", kUtf8, kCRLF, "[ \\t]+\\r\\n[ \\t]", ",", "1 \r\n 2", "1,2", 1},
    {"long_blank_run_then_comma_is_one_match", kUtf8, kCRLF, "[ \\t]+,[ \\t]+", ",",
     "1" + std::string(100, ' ') + ", \t2", "1,2", 1},
    {"long_blank_runs_without_comma_then_a_match", kUtf8, kCRLF, "[ \\t]+,[ \\t]+", ",",
     "1" + std::string(90, ' ') + "2" + std::string(40, '\t') + "3 , 4",
     "1" + std::string(90, ' ') + "2" + std::string(40, '\t') + "3,4", 1},
    {"later_start_in_other_state_over_failed_walk_still_matches", kUtf8, kCRLF, "a[ab]*c|b[ab]*d",
     "X", "a" + std::string(30, 'b') + "d", "aX", 1},
    {"no_match_leaves_text", kUtf8, kCRLF, "[ \\t]+,[ \\t]+", ",", "1,2", "1,2", 0},
    // Empty matches.
    {"empty_match_inserts_before_each_character_not_after_last", kUtf8, kCRLF, "x*", "-", "abc",
     "-a-b-c", 3},
    {"empty_pattern_matches_between_characters", kUtf8, kCRLF, "", "-", "ab", "-a-b", 2},
    {"empty_text_with_empty_match_becomes_replacement", kUtf8, kCRLF, "a*", "-", "", "-", 1},
    {"empty_text_without_match_stays_empty", kUtf8, kCRLF, "a", "-", "", "", 0},
    {"empty_match_steps_over_crlf_together", kUtf8, kCRLF, "x*", "-", "a\r\nb", "-a-\r\n-b", 3},
    {"empty_match_steps_cr_and_lf_apart_with_lf_separator", kUtf8, kLF, "x*", "-", "a\r\nb",
     "-a-\r-\n-b", 4},
    {"lone_cr_at_end_steps_one_byte", kUtf8, kCRLF, "x*", "-", "a\r", "-a-\r", 2},
    // Leftmost, then longest.
    {"longest_alternative_wins", kUtf8, kCRLF, "a|ab", "X", "abc", "Xc", 1},
    {"leftmost_start_beats_shorter_later_match", kUtf8, kCRLF, "b|abc", "X", "abc", "X", 1},
    {"plus_is_one_or_more", kUtf8, kCRLF, "a+", "X", "baaab", "bXb", 1},
    {"optional_group", kUtf8, kCRLF, "(ab)?c", "X", "abcc", "XX", 2},
    {"star_over_group_takes_whole_run", kUtf8, kCRLF, "(ab)*", "X", "ababa", "XXa", 2},
    // Ordinary characters and classes.
    {"escaped_dot_is_literal", kUtf8, kCRLF, "a\\.b", "X", "axb a.b", "axb X", 1},
    {"braces_are_ordinary", kUtf8, kCRLF, "a{2}", "X", "aa a{2}", "aa X", 1},
    {"dash_before_close_is_member", kUtf8, kCRLF, "[a-]", "X", "x-a", "xXX", 2},
    {"leading_dash_is_member", kUtf8, kCRLF, "[-a]", "X", "x-a", "xXX", 2},
    {"escaped_close_bracket_is_member", kUtf8, kCRLF, "[\\]]", "X", "a]", "aX", 1},
    {"hex_escape_range", kUtf8, kCRLF, "[\\x41-\\x43]+", "X", "ABCD", "XD", 1},
    {"octal_escape", kUtf8, kCRLF, "\\101", "X", "BAB", "BXB", 1},
    {"unknown_escape_is_the_character", kUtf8, kCRLF, "\\q", "X", "aq", "aX", 1},
    {"dot_never_matches_cr_or_lf", kUtf8, kCRLF, ".", "X", "a\r\nb", "X\r\nX", 2},
    {"negated_class_never_matches_lf", kUtf8, kCRLF, "[^a]", "X", "ab\n", "aX\n", 1},
    {"negated_class_never_matches_nul", kUtf8, kCRLF, "[^a]", "X", std::string("\0b", 2),
     std::string("\0X", 2), 1},
    {"nul_byte_in_pattern_is_a_character", kUtf8, kCRLF, std::string("a\0", 2), "X",
     std::string("a\0a", 3), "Xa", 1},
    // Anchors.
    {"caret_after_union_is_anchor", kUtf8, kCRLF, "a|^b", "X", "bab", "XXb", 2},
    {"caret_inside_is_ordinary", kUtf8, kCRLF, "a^b", "X", "a^b ab", "X ab", 1},
    {"caret_under_star_is_ordinary", kUtf8, kCRLF, "^*", "X", "^^a", "XXa", 2},
    {"literal_caret_and_overlapping_class_both_match", kUtf8, kCRLF, "x^y|x[\\]-_]z", "X",
     "x^y x^z", "X X", 2},
    {"literal_dollar_and_overlapping_class_both_match", kUtf8, kCRLF, "x$y|x[#-%]z", "X", "x$y x$z",
     "X X", 2},
    {"dollar_inside_is_ordinary", kUtf8, kCRLF, "a$b", "X", "a$b ab", "X ab", 1},
    {"caret_in_group_at_start_is_anchor", kUtf8, kCRLF, "(^a)", "X", "aa\na", "Xa\nX", 2},
    {"caret_matches_after_every_lf", kUtf8, kCRLF, "^", "X", "a\nb", "Xa\nXb", 2},
    {"caret_a_only_at_line_starts", kUtf8, kCRLF, "^a", "X", "aa\na", "Xa\nX", 2},
    {"dollar_alone_matches_at_end", kUtf8, kCRLF, "$", "X", "ab", "abX", 1},
    {"dollar_matches_before_cr_and_at_end", kUtf8, kCRLF, "$", "X", "a\r\nb", "aX\r\nbX", 2},
    {"a_dollar_before_crlf", kUtf8, kCRLF, "a$", "X", "aa\r\na", "aX\r\nX", 2},
    {"a_dollar_before_lf_not_cr_with_lf_separator", kUtf8, kLF, "a$", "X", "aa\nba\r\na",
     "aX\nba\r\nX", 2},
    {"a_dollar_not_before_cr_with_lf_separator", kUtf8, kLF, "a$", "X", "a\r\na", "a\r\nX", 1},
    {"whole_line_pattern", kUtf8, kLF, "^[0-9]+$", "N", "12\nx3\n45", "N\nx3\nN", 2},
    {"caret_dollar_on_empty_text", kUtf8, kCRLF, "^$", "E", "", "E", 1},
    // Replacement expansion.
    {"ampersand_is_matched_text", kUtf8, kCRLF, "[0-9]+", "<&>", "a12b3", "a<12>b<3>", 2},
    {"backslash_ampersand_is_literal", kUtf8, kCRLF, "b", "\\&", "abc", "a&c", 1},
    {"escaped_backslash_is_one_backslash", kUtf8, kCRLF, "b", "\\\\", "abc", "a\\c", 1},
    {"replacement_escapes", kUtf8, kCRLF, "b", "\\t\\x41\\101\\n", "abc", "a\tAA\nc", 1},
    {"lone_backslash_before_other_is_dropped_by_escape", kUtf8, kCRLF, "b", "\\q", "abc", "aqc", 1},
    {"escape_giving_ampersand_is_matched_text", kUtf8, kCRLF, "b", "\\x26\\x26", "abc", "abbc", 1},
    {"utf8_escape_encodes_code_point", kUtf8, kCRLF, "b", "\\xE9", "abc",
     "a\xC3\xA9"
     "c",
     1},
    {"utf8_surrogate_escape_gives_replacement_character", kUtf8, kCRLF, "b", "\\xD800", "abc",
     "a\xEF\xBF\xBD"
     "c",
     1},
    // UTF-8: one code point is one character.
    {"utf8_dot_takes_whole_code_points", kUtf8, kCRLF, ".", "X", "é日😀", "XXX", 3},
    {"utf8_empty_match_never_splits", kUtf8, kCRLF, "x*", "-", "é日", "-é-日", 2},
    {"utf8_pattern_character_repeats_whole", kUtf8, kCRLF, "é+", "X", "ééa", "Xa", 1},
    {"utf8_negated_class_takes_whole_character", kUtf8, kCRLF, "[^a]", "X", "aé", "aX", 1},
    {"utf8_class_range_of_code_points", kUtf8, kCRLF, "[é-ë]", "X", "êz", "Xz", 1},
    {"utf8_invalid_bytes_are_one_character_each", kUtf8, kCRLF, ".", "X",
     "\xFF"
     "a\xC3",
     "XXX", 3},
    {"utf8_truncated_sequence_steps_byte_by_byte", kUtf8, kCRLF, "x*", "-", "\xE6\x97",
     "-\xE6-\x97", 2},
    {"utf8_cr_travels_with_whole_next_character", kUtf8, kCRLF, "x*", "-", "\ré", "-\ré", 1},
    {"utf8_overlong_form_is_not_a_slash", kUtf8, kCRLF, "/", "X", "\xC0\xAF/", "\xC0\xAFX", 1},
    {"utf8_escape_of_stray_byte_code_matches_that_byte", kUtf8, kCRLF, "\\xDC80", "X", "a\x80",
     "aX", 1},
    // Shift-JIS: a lead and a trail byte are one character. 0x95 0x5C is a kanji whose
    // trail byte is the backslash.
    {"sjis_trail_backslash_is_not_a_backslash", kSjis, kCRLF, "\\\\", "X", "\x95\x5C\x5C",
     "\x95\x5CX", 1},
    {"utf8_same_bytes_read_byte_by_byte", kUtf8, kCRLF, "\\\\", "X", "\x95\x5C\x5C", "\x95XX", 2},
    {"sjis_dot_takes_double_byte_character", kSjis, kCRLF, ".", "X",
     "\x95\x5C"
     "a",
     "XX", 2},
    {"sjis_empty_match_never_splits", kSjis, kCRLF, "x*", "-", "\x95\x5C", "-\x95\x5C", 1},
    {"sjis_pattern_double_byte_character_repeats_whole", kSjis, kCRLF, "\x95\x5C+", "X",
     "\x95\x5C\x95\x5C"
     "a",
     "Xa", 1},
    {"sjis_class_range_of_double_byte_codes", kSjis, kCRLF, "[\\x8140-\\x8150]", "X",
     "\x81\x45\x81\x60", "X\x81\x60", 1},
    {"sjis_escape_writes_two_bytes", kSjis, kCRLF, "b", "\\x8145", "abc",
     "a\x81\x45"
     "c",
     1},
    {"sjis_lead_byte_before_lf_stands_alone", kSjis, kCRLF, "^a", "X", "\x81\na", "\x81\nX", 1},
    {"sjis_cr_travels_with_whole_double_byte_character", kSjis, kCRLF, "x*", "-", "\r\x95\x5C",
     "-\r\x95\x5C", 1},
    {"sjis_pattern_range_never_reaches_pseudo_codes", kSjis, kCRLF, "x$|[\\x41-\\xFFFF]", "X", "!",
     "!", 0},
    {"sjis_negated_class_excludes_codes_above_any_set", kSjis, kCRLF, "[^a]", "X", "\xFC\xFC", "X",
     1},
    // Sliding to the next byte that can begin a match, and writing the result.
    {"blanks_found_in_every_lane_of_a_word_and_the_tail", kUtf8, kCRLF, "[ \\t]+", ",",
     "abcdefg hijklmn\topqrstu vw x", "abcdefg,hijklmn,opqrstu,vw,x", 4},
    {"single_first_byte_found_by_jumping", kUtf8, kCRLF, ",+", ";", "0123456789,a,,b,",
     "0123456789;a;b;", 3},
    {"multi_byte_and_stray_bytes_slid_over", kUtf8, kCRLF, "[ \\t]+", ",",
     "\xC3\xA9\xE3\x81\x82 \x80\xFF\t\xC3\xA9", "\xC3\xA9\xE3\x81\x82,\x80\xFF,\xC3\xA9", 2},
    {"sjis_ascii_trail_byte_never_begins_a_match", kSjis, kCRLF, "[@A]", "X",
     "\x81\x40\x82\x41 @\x81\x40"
     "A",
     "\x81\x40\x82\x41 X\x81\x40X", 2},
    {"sjis_half_width_kana_begins_a_match", kSjis, kCRLF, "\xB1+", "X",
     "a\xB1\xB1"
     "b",
     "aXb", 1},
    {"replacement_longer_than_text_grows_result", kUtf8, kCRLF, "[ \\t]+", std::string(40, 'r'),
     "a b\tc", "a" + std::string(40, 'r') + "b" + std::string(40, 'r') + "c", 2},
    {"written_over_the_text_until_a_match_is_shorter_than_the_replacement", kUtf8, kCRLF, "[ \\t]+",
     "--", "a   b  c d" + std::string(40, ' ') + "e f", "a--b--c--d--e--f", 5},
    {"matched_text_in_replacement", kUtf8, kCRLF, "[ \\t]+", "<&>", "a \tb", "a< \t>b", 1},
    {"long_match_then_long_failed_runs_then_match", kUtf8, kCRLF, "[ \\t]+,[ \\t]+", ",",
     "1" + std::string(30, ' ') + "," + std::string(30, ' ') + "2" + std::string(30, ' ') + "3" +
         std::string(30, ' ') + ", 4",
     "1,2" + std::string(30, ' ') + "3,4", 2},
};

INSTANTIATE_TEST_SUITE_P(Rows, Substitute, testing::ValuesIn(kSubCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Errors --------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    TTextEncoding encoding;
    std::string pattern;
    const char* message;
    std::size_t position;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class PatternErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(PatternErrors, RaiseMessageAndPosition) {
    const ErrorCase& c = GetParam();
    TPatternString engine(c.encoding);
    try {
        engine.SetRegExp(c.pattern);
        FAIL() << "no error for " << c.pattern;
    } catch (const EPatternError& e) {
        EXPECT_STREQ(e.what(), c.message);
        EXPECT_EQ(e.Position(), c.position);
    }
}

std::string Nested(int depth) {
    return std::string(depth, '(') + "a" + std::string(depth, ')');
}

std::string Exponential(int n) {
    std::string p = "(a|b)*a";
    for (int i = 0; i < n; ++i)
        p += "(a|b)";
    return p;
}

std::string NestedPlus(int n) {
    std::string p = "a";
    for (int i = 0; i < n; ++i)
        p = "(" + p + ")+";
    return p;
}

using namespace PatternMessage;
const ErrorCase kErrorCases[] = {
    {"second_repeat_needs_a_primary", kUtf8, "a**", kNeedPrimary, 4},
    {"leading_star_needs_a_primary", kUtf8, "*a", kNeedPrimary, 2},
    {"star_after_union_needs_a_primary", kUtf8, "a|*", kNeedPrimary, 4},
    {"stray_close_bracket_needs_a_primary", kUtf8, "]", kNeedPrimary, 2},
    {"unclosed_group", kUtf8, "(a", kNoCloseParen, 3},
    {"unmatched_close_paren_is_extra_text", kUtf8, "a)", kExtraText, 3},
    {"empty_class", kUtf8, "[]", kBadClass, 3},
    {"reversed_range", kUtf8, "[z-a]", kBadRange, 5},
    {"unclosed_class", kUtf8, "[ab", kNoCloseBracket, 4},
    {"open_bracket_at_end", kUtf8, "[", kNoCloseBracket, 2},
    {"negated_class_at_end", kUtf8, "[^", kNoCloseBracket, 3},
    {"dash_at_end_of_class", kUtf8, "[a-", kNoCloseBracket, 4},
    {"backslash_at_end", kUtf8, "a\\", kBackslashAtEnd, 3},
    {"hex_escape_without_digit", kUtf8, "\\xg", kBadHex, 3},
    {"octal_escape_above_ffff", kUtf8, "\\777777", kBadOctal, 8},
    {"sjis_lead_byte_at_end", kSjis, "a\x81", kBadDoubleByte, 2},
    {"groups_nested_too_deep", kUtf8, Nested(600), kTooDeep, 502},
    {"exponential_dfa_is_refused", kUtf8, Exponential(16), kTooComplex, Exponential(16).size() + 1},
    {"nested_plus_explosion_is_refused", kUtf8, NestedPlus(20), kTooComplex,
     NestedPlus(20).size() + 1},
};

INSTANTIATE_TEST_SUITE_P(Rows, PatternErrors, testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PatternErrors, MessagesAreTheExactTexts) {
    EXPECT_STREQ(kBadDoubleByte, "不正な２バイト文字コードです。");
    EXPECT_STREQ(kBackslashAtEnd, "\"\\\"の次には文字が必要です。");
    EXPECT_STREQ(kNoCloseBracket, "右ブラケット\"]\"が必要です");
    EXPECT_STREQ(kNeedPrimary, "普通の文字、または左括弧\"(\"が必要です");
}

TEST(PatternErrors, MalformedReplacementLeavesTextUnchanged) {
    TPatternString engine(kUtf8);
    engine.SetRegExp("b");
    std::string text = "abc";
    EXPECT_THROW(engine.GSub("x\\", text), EPatternError);
    EXPECT_EQ(text, "abc");
}

TEST(PatternErrors, DeepChainOfCharactersCompiles) {
    // A long pattern is a deep chain of concatenations; it must not exhaust the stack.
    TPatternString engine(kUtf8);
    const std::string pattern(5000, 'a');
    engine.SetRegExp(pattern);
    std::string text = "b" + pattern + "b";
    EXPECT_EQ(engine.GSub("X", text), 1);
    EXPECT_EQ(text, "bXb");
}

TEST(PatternErrors, LargeButBoundedAutomatonCompilesAndMatches) {
    // 2^12 + 1 states: well inside the bounds that refuse Exponential(16).
    TPatternString engine(kUtf8);
    engine.SetRegExp(Exponential(12));
    EXPECT_GT(engine.CurrentDfa().StateCount(), 4096u);
    std::string text = "ba" + std::string(12, 'b') + "c";
    EXPECT_EQ(engine.GSub("X", text), 1);
    EXPECT_EQ(text, "Xc");
}

TEST(PatternErrors, NegatedClassCoveringEverythingNeverMatches) {
    TPatternString engine(kSjis);
    engine.SetRegExp("[^\\x1-\\xFFFF]");
    std::string text = "abc";
    EXPECT_EQ(engine.GSub("X", text), 0);
    EXPECT_EQ(text, "abc");
}

}  // namespace

// The plain search looks at many bytes at once for the first bytes of a match (and the
// second and third, where no shorter match exists). A match must be found wherever it
// starts relative to those groups of bytes, also when its later bytes lie in the next group,
// and when the next match follows after a single byte.
TEST(SubstituteAtEveryOffset, FindsMatchesAcrossGroupsOfBytes) {
    struct Row {
        const char* pattern;
        const char* match;  // one whole match of pattern; "9" never matches
    } const rows[] = {
        {"[ \\t]+,[ \\t]+", " ,\t"},
        {"[ \\t]+,[ \\t]+", "\t\t , \t"},
        {"abc", "abc"},
        {"a[bc]+d", "abcbd"},
        {"[ \\t]+", "  "},
        {",", ","},
        {"x[ \\t]*y", "x \ty"},
    };
    for (const auto encoding : {kUtf8, kSjis}) {
        for (const Row& row : rows) {
            TPatternString engine(encoding);
            engine.SetRegExp(row.pattern);
            const std::string m = row.match;
            for (std::size_t offset = 0; offset < 40; ++offset) {
                const std::string lead(offset, '9');
                for (const std::string& gap : {std::string("9"), std::string(40, '9')}) {
                    std::string text = lead + m + gap + m + "9" + m;
                    const std::string expected =
                        lead + "<" + m + ">" + gap + "<" + m + ">9<" + m + ">";
                    EXPECT_EQ(engine.GSub("<&>", text), 3) << row.pattern << " at " << offset;
                    EXPECT_EQ(text, expected) << row.pattern << " at " << offset;
                }
            }
        }
    }
}
