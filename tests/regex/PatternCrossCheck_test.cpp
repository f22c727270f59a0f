// Cross-check of the DFA searches against a small reference matcher on generated patterns
// and texts, in both encodings.
//
// The reference works on a pattern's syntax tree and a text given as a list of character
// codes: for a node and a start index it computes the set of every end index the node can
// reach (a closure by fixpoint). Leftmost-longest is then the first start index with a
// non-empty set and the largest end in it. Patterns are generated as trees and rendered to
// text, so the reference never parses; texts are generated from an alphabet of characters
// with known bytes, so character boundaries are known without decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

struct Letter {
    TCharCode code;
    std::string bytes;
};

// Characters of the generated texts and patterns, per encoding. The Shift-JIS letters
// include double-byte characters whose trail byte is a backslash or "a"-like ASCII.
std::vector<Letter> Alphabet(TTextEncoding encoding) {
    std::vector<Letter> letters = {{'a', "a"},   {'b', "b"},   {'c', "c"},
                                   {'\n', "\n"}, {'\r', "\r"}, {' ', " "}};
    if (encoding == TTextEncoding::teUtf8) {
        letters.push_back({0xE9, "\xC3\xA9"});
        letters.push_back({0x65E5, "\xE6\x97\xA5"});
        letters.push_back({0x1F600, "\xF0\x9F\x98\x80"});
    } else {
        letters.push_back({0x955C, "\x95\x5C"});
        letters.push_back({0x8161, "\x81\x61"});
        letters.push_back({0xE040, "\xE0\x40"});
    }
    return letters;
}

enum class Kind { Char, Any, Class, NegClass, Concat, Union, Star, Plus, Optional, Empty };

struct Node {
    Kind kind;
    std::vector<TCodeRange> members;  // Char (one code), Class, NegClass
    std::unique_ptr<Node> left, right;
};

using Ends = std::set<std::size_t>;

bool IsAny(TCharCode c) {
    return c != 0 && c != '\n' && c != '\r';
}

bool InMembers(const std::vector<TCodeRange>& members, TCharCode c) {
    return std::any_of(members.begin(), members.end(),
                       [&](const TCodeRange& r) { return c >= r.lo && c <= r.hi; });
}

// Every end index the node reaches from `start` over `text`.
Ends Reach(const Node& node, const std::vector<TCharCode>& text, std::size_t start) {
    auto one = [&](bool accept) {
        return start < text.size() && accept ? Ends{start + 1} : Ends{};
    };
    switch (node.kind) {
        case Kind::Char:
        case Kind::Class:
            return one(start < text.size() && InMembers(node.members, text[start]));
        case Kind::NegClass:
            return one(start < text.size() && IsAny(text[start]) &&
                       !InMembers(node.members, text[start]));
        case Kind::Any:
            return one(start < text.size() && IsAny(text[start]));
        case Kind::Empty:
            return {start};
        case Kind::Concat: {
            Ends out;
            for (std::size_t mid : Reach(*node.left, text, start)) {
                const Ends tail = Reach(*node.right, text, mid);
                out.insert(tail.begin(), tail.end());
            }
            return out;
        }
        case Kind::Union: {
            Ends out = Reach(*node.left, text, start);
            const Ends more = Reach(*node.right, text, start);
            out.insert(more.begin(), more.end());
            return out;
        }
        case Kind::Optional: {
            Ends out = Reach(*node.left, text, start);
            out.insert(start);
            return out;
        }
        case Kind::Star:
        case Kind::Plus: {
            Ends out;
            if (node.kind == Kind::Star) out.insert(start);
            std::vector<std::size_t> todo{start};
            std::set<std::size_t> seen{start};
            while (!todo.empty()) {
                const std::size_t from = todo.back();
                todo.pop_back();
                for (std::size_t end : Reach(*node.left, text, from)) {
                    out.insert(end);
                    if (seen.insert(end).second) todo.push_back(end);
                }
            }
            return out;
        }
    }
    return {};
}

// Leftmost-longest match in character indices, trying starts from `from`; the end of a
// non-empty text is never a start.
std::optional<std::pair<std::size_t, std::size_t>> ReferenceSearch(
    const Node& root, const std::vector<TCharCode>& text, std::size_t from) {
    if (text.empty()) {
        if (Reach(root, text, 0).count(0)) return std::make_pair<std::size_t, std::size_t>(0, 0);
        return std::nullopt;
    }
    for (std::size_t start = from; start < text.size(); ++start) {
        const Ends ends = Reach(root, text, start);
        if (!ends.empty()) return std::make_pair(start, *ends.rbegin());
    }
    return std::nullopt;
}

class Generator {
public:
    Generator(TTextEncoding encoding, unsigned seed)
        : letters_(Alphabet(encoding)), random_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    const Letter& AnyLetter() { return letters_[Below(static_cast<int>(letters_.size()))]; }

    // A random tree and its pattern text.
    std::unique_ptr<Node> Tree(int depth, std::string& pattern) {
        auto node = std::make_unique<Node>();
        const int choice = depth <= 0 ? Below(4) : Below(10);
        switch (choice) {
            case 0:
            case 1: {
                const Letter& l = AnyLetter();
                node->kind = Kind::Char;
                node->members = {{l.code, l.code}};
                pattern += Render(l);
                break;
            }
            case 2:
                node->kind = Kind::Any;
                pattern += ".";
                break;
            case 3: {
                node->kind = Below(2) ? Kind::Class : Kind::NegClass;
                pattern += node->kind == Kind::Class ? "[" : "[^";
                const int count = 1 + Below(3);
                for (int i = 0; i < count; ++i) {
                    const Letter& a = AnyLetter();
                    const Letter& b = AnyLetter();
                    if (Below(3) == 0 && a.code != b.code) {
                        const Letter& lo = a.code < b.code ? a : b;
                        const Letter& hi = a.code < b.code ? b : a;
                        node->members.push_back({lo.code, hi.code});
                        pattern += Render(lo) + "-" + Render(hi);
                    } else {
                        node->members.push_back({a.code, a.code});
                        pattern += Render(a);
                    }
                }
                pattern += "]";
                break;
            }
            case 4:
            case 5:
                node->kind = Kind::Concat;
                pattern += "(";
                node->left = Tree(depth - 1, pattern);
                node->right = Tree(depth - 1, pattern);
                pattern += ")";
                break;
            case 6:
                node->kind = Kind::Union;
                pattern += "(";
                node->left = Tree(depth - 1, pattern);
                pattern += "|";
                node->right = Tree(depth - 1, pattern);
                pattern += ")";
                break;
            case 7:
            case 8:
            case 9: {
                static constexpr Kind kinds[] = {Kind::Star, Kind::Plus, Kind::Optional};
                static constexpr const char* marks[] = {"*", "+", "?"};
                const int which = Below(3);
                node->kind = kinds[which];
                pattern += "(";
                node->left = Tree(depth - 1, pattern);
                pattern += std::string(")") + marks[which];
                break;
            }
        }
        return node;
    }

    // A text of letter indices; without line breaks when `lineBreaks` is false, so that
    // "." and negated classes can match long runs.
    std::vector<int> Text(int maxLength, bool lineBreaks = true) {
        std::vector<int> text(Below(maxLength + 1));
        for (int& i : text) {
            do {
                i = Below(static_cast<int>(letters_.size()));
            } while (!lineBreaks && (letters_[i].code == '\n' || letters_[i].code == '\r'));
        }
        return text;
    }
    const std::vector<Letter>& Letters() const { return letters_; }

private:
    // A letter in pattern syntax: control characters and a few ASCII letters as escapes, so
    // the escape forms are covered too. Hex escapes use all four digits, since a following
    // "a" or "b" would otherwise be read as a further digit.
    std::string Render(const Letter& l) {
        if (l.code == '\n') return "\\n";
        if (l.code == '\r') return "\\r";
        if (l.code == 'c' && Below(2)) return "\\x0063";
        if (l.code == 'b' && Below(2)) return "\\142";
        return l.bytes;
    }

    std::vector<Letter> letters_;
    std::mt19937 random_;
};

struct Mode {
    const char* name;
    TTextEncoding encoding;
};

class CrossCheck : public testing::TestWithParam<Mode> {};

// Compares the plain search from every character of generated texts of up to `maxLength`
// characters; returns the number of comparisons.
int CompareSearches(TTextEncoding encoding, unsigned seed, int patterns, int texts, int maxLength,
                    bool lineBreaks) {
    Generator gen(encoding, seed);
    TPatternString engine(encoding);
    int compared = 0;
    for (int p = 0; p < patterns; ++p) {
        std::string pattern;
        const auto tree = gen.Tree(3, pattern);
        EXPECT_NO_THROW(engine.SetRegExp(pattern)) << pattern;
        for (int t = 0; t < texts; ++t) {
            const std::vector<int> letters = gen.Text(maxLength, lineBreaks);
            std::vector<TCharCode> codes;
            std::vector<std::size_t> offset{0};  // byte offset of each character index
            std::string bytes;
            for (int i : letters) {
                codes.push_back(gen.Letters()[i].code);
                bytes += gen.Letters()[i].bytes;
                offset.push_back(bytes.size());
            }
            for (std::size_t from = 0; from < std::max<std::size_t>(codes.size(), 1); ++from) {
                const auto expected = ReferenceSearch(*tree, codes, from);
                const auto actual = engine.PlainSearch(bytes, offset[from]);
                EXPECT_EQ(actual.has_value(), expected.has_value())
                    << "pattern " << pattern << " text " << testing::PrintToString(bytes)
                    << " from " << from;
                if (expected && actual) {
                    EXPECT_EQ(actual->start, offset[expected->first]) << pattern;
                    EXPECT_EQ(actual->end, offset[expected->second])
                        << pattern << " text " << testing::PrintToString(bytes);
                }
                ++compared;
            }
        }
    }
    return compared;
}

TEST_P(CrossCheck, LeftmostLongestAgreesWithReference) {
    EXPECT_GT(CompareSearches(GetParam().encoding, 20261208, 400, 12, 7, true), 4000);
}

// Texts long enough for walks that pass the search's dead-end memo (over 16 steps).
TEST_P(CrossCheck, LeftmostLongestAgreesOnLongTexts) {
    EXPECT_GT(CompareSearches(GetParam().encoding, 4242, 80, 4, 60, false), 2000);
}

// The global substitution built on the reference search with the same stepping rules.
std::string ReferenceGSub(const Node& root, const std::vector<TCharCode>& codes,
                          const std::vector<std::string>& chars, int& count) {
    count = 0;
    auto join = [&](std::size_t a, std::size_t b) {
        std::string s;
        for (std::size_t i = a; i < b; ++i)
            s += chars[i];
        return s;
    };
    auto match = ReferenceSearch(root, codes, 0);
    if (!match) return join(0, codes.size());
    if (codes.empty()) {
        count = 1;
        return "<>";
    }
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        out += join(pos, match->first) + "<" + join(match->first, match->second) + ">";
        std::size_t next = match->second;
        if (match->first == match->second && next < codes.size()) {
            const std::size_t step = codes[next] == '\r' && next + 1 < codes.size() ? 2 : 1;
            out += join(next, next + step);
            next += step;
        }
        ++count;
        pos = next;
        if (pos >= codes.size()) break;
        match = ReferenceSearch(root, codes, pos);
        if (!match) break;
    }
    return out + join(pos, codes.size());
}

TEST_P(CrossCheck, SubstitutionAgreesWithReference) {
    Generator gen(GetParam().encoding, 7);
    TPatternString engine(GetParam().encoding);
    for (int p = 0; p < 300; ++p) {
        std::string pattern;
        const auto tree = gen.Tree(3, pattern);
        engine.SetRegExp(pattern);
        // Short texts meet every boundary case; long ones run the search's block-wise
        // skipping over many candidates, and its state kept from one match to the next.
        for (int t = 0; t < 10; ++t) {
            std::vector<TCharCode> codes;
            std::vector<std::string> chars;
            std::string text;
            for (int i : gen.Text(t < 8 ? 8 : 80)) {
                codes.push_back(gen.Letters()[i].code);
                chars.push_back(gen.Letters()[i].bytes);
                text += chars.back();
            }
            int expectedCount = 0;
            const std::string expected = ReferenceGSub(*tree, codes, chars, expectedCount);
            const std::string original = text;
            EXPECT_EQ(engine.GSub("<&>", text), expectedCount) << pattern;
            EXPECT_EQ(text, expected)
                << "pattern " << pattern << " text " << testing::PrintToString(original);
        }
    }
}

TEST_P(CrossCheck, DenseTableAgreesWithSortedRanges) {
    Generator gen(GetParam().encoding, 99);
    TPatternString engine(GetParam().encoding);
    for (int p = 0; p < 200; ++p) {
        std::string pattern;
        gen.Tree(3, pattern);
        engine.SetRegExp(pattern);
        const TPatDFA& dfa = engine.CurrentDfa();
        for (std::size_t s = 0; s < dfa.StateCount(); ++s) {
            for (TCharCode c = 0; c < 256; ++c) {
                const int next = dfa.StepSorted(static_cast<int>(s), c);
                ASSERT_EQ(dfa.Step(static_cast<int>(s), c), next)
                    << pattern << " state " << s << " code " << c;
                // The tagged entry names the same row and carries the target's final flag.
                const std::int32_t entry = dfa.Table()[TPatDFA::RowOf(static_cast<int>(s)) + c];
                if (next == TPatDFA::kNone) {
                    ASSERT_EQ(entry, TPatDFA::kDeadEntry) << pattern << " state " << s;
                } else {
                    ASSERT_EQ(entry & TPatDFA::kRowMask, TPatDFA::RowOf(next)) << pattern;
                    ASSERT_EQ((entry & TPatDFA::kFinalTag) != 0, dfa.IsFinal(next)) << pattern;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, CrossCheck,
                         testing::Values(Mode{"utf8", TTextEncoding::teUtf8},
                                         Mode{"shift_jis", TTextEncoding::teShiftJis}),
                         [](const auto& info) { return std::string(info.param.name); });

// Random bytes (mostly malformed) in UTF-8: every match starts and ends on a character
// boundary of the decoding, and the search never reads past the end.
TEST(CrossCheck, MatchesOnArbitraryBytesFallOnCharacterBoundaries) {
    std::mt19937 random(5);
    const char* patterns[] = {".", "[^a]+", "x*", "(.|\\n)(.|\\n)", "\\xDC80|é"};
    for (TTextEncoding encoding : {TTextEncoding::teUtf8, TTextEncoding::teShiftJis}) {
        TPatternString engine(encoding);
        for (const char* pattern : patterns) {
            engine.SetRegExp(pattern);
            for (int t = 0; t < 300; ++t) {
                std::string text(random() % 12, '\0');
                for (char& c : text)
                    c = static_cast<char>(0x80 + random() % 0x80);
                if (random() % 2 && !text.empty()) text[random() % text.size()] = 'a';
                std::set<std::size_t> boundaries{text.size()};
                for (std::size_t pos = 0; pos < text.size();
                     pos += engine.Codec().Length(text, pos)) {
                    boundaries.insert(pos);
                }
                for (std::size_t from : boundaries) {
                    if (const auto m = engine.PlainSearch(text, from)) {
                        EXPECT_TRUE(boundaries.count(m->start)) << pattern;
                        EXPECT_TRUE(boundaries.count(m->end)) << pattern;
                    }
                }
            }
        }
    }
}

}  // namespace
