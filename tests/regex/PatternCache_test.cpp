// The compiled-pattern cache of TRegularExpression: entry 0 is the empty pattern, a new
// pattern takes position 1, the entry at the end is dropped at 30, a pattern set again is
// reused, and a failed compile leaves the empty pattern current.
#include <gtest/gtest.h>

#include <string>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

std::string Name(int i) {
    return "p" + std::to_string(i);
}

TEST(PatternCache, StartsWithTheEmptyPatternCurrent) {
    TPatternString engine(TTextEncoding::teUtf8);
    EXPECT_EQ(engine.CacheCount(), 1u);
    EXPECT_EQ(engine.CachedPattern(0), "");
    EXPECT_EQ(engine.CurrentIndex(), 0u);
    EXPECT_EQ(engine.RegExp(), "");
    std::string text = "ab";
    EXPECT_EQ(engine.GSub("-", text), 2);
    EXPECT_EQ(text, "-a-b");
}

TEST(PatternCache, NewPatternTakesPositionOne) {
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp("a");
    engine.SetRegExp("b");
    ASSERT_EQ(engine.CacheCount(), 3u);
    EXPECT_EQ(engine.CachedPattern(1), "b");
    EXPECT_EQ(engine.CachedPattern(2), "a");
    EXPECT_EQ(engine.CurrentIndex(), 1u);
    EXPECT_EQ(engine.RegExp(), "b");
}

TEST(PatternCache, SettingAPatternAgainReusesItsAutomaton) {
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp("[ \\t]+,[ \\t]+");
    const TPatDFA* first = &engine.CurrentDfa();
    engine.SetRegExp("[ \\t]+");
    engine.SetRegExp("[ \\t]+,[ \\t]+");
    EXPECT_EQ(&engine.CurrentDfa(), first);
    EXPECT_EQ(engine.CacheCount(), 3u);
    EXPECT_EQ(engine.CurrentIndex(), 2u);
    EXPECT_EQ(engine.RegExp(), "[ \\t]+,[ \\t]+");
}

TEST(PatternCache, FullCacheDropsTheLastEntry) {
    TPatternString engine(TTextEncoding::teUtf8);
    for (int i = 0; i < 40; ++i)
        engine.SetRegExp(Name(i));
    ASSERT_EQ(engine.CacheCount(), TRegularExpression::kCacheSize);
    EXPECT_EQ(engine.CachedPattern(0), "");
    EXPECT_EQ(engine.CachedPattern(1), Name(39));
    EXPECT_EQ(engine.CachedPattern(29), Name(11));
    // p10 was dropped: setting it again compiles it anew at position 1.
    engine.SetRegExp(Name(10));
    EXPECT_EQ(engine.CurrentIndex(), 1u);
    EXPECT_EQ(engine.CachedPattern(1), Name(10));
    EXPECT_EQ(engine.CachedPattern(29), Name(12));
}

TEST(PatternCache, FailedCompileLeavesEmptyPatternCurrentAndKeepsOthers) {
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp("a");
    EXPECT_THROW(engine.SetRegExp("(a"), EPatternError);
    EXPECT_EQ(engine.RegExp(), "");
    EXPECT_EQ(engine.CurrentIndex(), 0u);
    ASSERT_EQ(engine.CacheCount(), 2u);
    EXPECT_EQ(engine.CachedPattern(1), "a");
    std::string text = "ab";
    EXPECT_EQ(engine.GSub("-", text), 2);
    EXPECT_EQ(text, "-a-b");
    engine.SetRegExp("a");
    EXPECT_EQ(engine.CurrentIndex(), 1u);
}

// No dictionary ships, so switching both on changes neither the stored pattern nor what it
// matches and replaces.
TEST(PatternCache, DictionarySwitchesChangeNoMatch) {
    struct Row {
        const char* pattern;
        const char* replaced;
        int count;
    };
    const Row rows[] = {
        {"ab", "xyzq <ab>c bca", 1},
        {"[a-c]+", "xyzq <abc> <bca>", 2},
        {"b|z", "xy<z>q a<b>c <b>ca", 3},
    };
    for (const Row& row : rows) {
        TPatternString engine(TTextEncoding::teUtf8);
        engine.SetUseFuzzyDictionary(true);
        engine.SetUseSynonymDictionary(true);
        ASSERT_TRUE(engine.UseFuzzyDictionary());
        ASSERT_TRUE(engine.UseSynonymDictionary());
        engine.SetRegExp(row.pattern);
        EXPECT_EQ(engine.CachedPattern(1), row.pattern);
        std::string text = "xyzq abc bca";
        EXPECT_EQ(engine.GSub("<&>", text), row.count) << row.pattern;
        EXPECT_EQ(text, row.replaced) << row.pattern;
    }
}

TEST(PatternCache, PseudoCodesLieAboveEveryTextCode) {
    const TPatternString sjis(TTextEncoding::teShiftJis);
    EXPECT_EQ(sjis.LineHeadCode(), 0xFFFDu);
    EXPECT_EQ(sjis.LineTailCode(), 0xFFFEu);
    EXPECT_EQ(sjis.Codec().EpsilonCode(), 0xFFFFu);
    const TPatternString utf8(TTextEncoding::teUtf8);
    EXPECT_GT(utf8.LineHeadCode(), 0x10FFFFu);
    EXPECT_GT(utf8.LineTailCode(), 0x10FFFFu);
    EXPECT_GT(utf8.Codec().EpsilonCode(), 0x10FFFFu);
}

TEST(PatternCache, DefaultLineSeparatorIsCrLf) {
    const TPatternString engine(TTextEncoding::teUtf8);
    EXPECT_EQ(engine.LineSeparator(), TLineSeparator::lsCRLF);
}

}  // namespace
