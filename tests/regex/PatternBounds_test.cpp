// The construction bounds of the automaton: each one alone refuses the pattern built to
// exceed it, lowered bounds apply only to patterns compiled after they were set, and a
// refused pattern leaves the engine usable.
#include <gtest/gtest.h>

#include <string>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

constexpr TDfaBounds kLow{.states = 64, .transitions = 256, .work = 20000};

enum class Bound { States, Transitions, Work };

struct BoundCase {
    const char* name;
    std::string pattern;
    Bound exceeds;
};

void PrintTo(const BoundCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Repeat(const std::string& piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += piece;
    return s;
}

// Every bound but `raised` at its lowered value; `raised` at its production value.
TDfaBounds LowExcept(Bound raised) {
    TDfaBounds bounds = kLow;
    const TDfaBounds production;
    if (raised == Bound::States) bounds.states = production.states;
    if (raised == Bound::Transitions) bounds.transitions = production.transitions;
    if (raised == Bound::Work) bounds.work = production.work;
    return bounds;
}

std::string StarredLetters() {
    std::string s;
    for (char c = 'a'; c <= 'z'; ++c)
        s.append(1, c).append("*");
    return s;
}

const BoundCase kBoundCases[] = {
    // 2^6 subsets of the last six positions, each with two transitions.
    {"states_of_an_exponential_automaton", "(a|b)*a" + Repeat("(a|b)", 5), Bound::States},
    // One state per letter, each with a transition to every later letter.
    {"transitions_of_a_chain_of_stars", StarredLetters(), Bound::Transitions},
    // Every ".*" stays in every subset, so a few dozen states each cost hundreds of steps.
    {"work_of_many_dot_stars", Repeat(".*", 60) + "a" + Repeat("(a|b)", 4), Bound::Work},
};

class PatternBounds : public testing::TestWithParam<BoundCase> {};

TEST_P(PatternBounds, EachBoundAloneRefusesItsPattern) {
    const BoundCase& c = GetParam();
    for (auto encoding : {TTextEncoding::teUtf8, TTextEncoding::teShiftJis}) {
        TPatternString engine(encoding);
        engine.SetAutomatonBounds(LowExcept(c.exceeds));
        // With the bound in question raised, the pattern fits.
        EXPECT_NO_THROW(engine.SetRegExp(c.pattern));
        engine.SetRegExp("");

        TPatternString low(encoding);
        low.SetAutomatonBounds(kLow);
        try {
            low.SetRegExp(c.pattern);
            ADD_FAILURE() << "compiled within the lowered bounds";
        } catch (const EPatternError& e) {
            EXPECT_STREQ(e.what(), PatternMessage::kTooComplex);
            EXPECT_EQ(e.Position(), c.pattern.size() + 1);
        }
        // The engine falls back to the empty pattern and still compiles small ones.
        EXPECT_EQ(low.RegExp(), "");
        low.SetRegExp("[ \\t]+,[ \\t]+");
        std::string text = "1 , 2\t,\t3";
        EXPECT_EQ(low.GSub(",", text), 2);
        EXPECT_EQ(text, "1,2,3");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PatternBounds, testing::ValuesIn(kBoundCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PatternBoundsCache, PatternsCompiledBeforeLoweringStayUsable) {
    const std::string pattern = "(a|b)*a" + Repeat("(a|b)", 5);
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp(pattern);
    engine.SetRegExp("x");
    engine.SetAutomatonBounds(kLow);
    // Found in the cache: not compiled again, so not refused.
    EXPECT_NO_THROW(engine.SetRegExp(pattern));
    EXPECT_TRUE(engine.Search("bbbbabbbbbbb").has_value());
}

}  // namespace
