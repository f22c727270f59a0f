// The pattern engine: regular expressions compiled into deterministic automata, searched
// leftmost-longest, and used for an AWK-style global substitution.
//
// The pipeline, one file per stage:
//   RegexChars    character codes of the two encodings, errors and their messages
//   RegexScanner  escapes and tokens
//   RegexParse    preprocessing, parse tree with disjoint leaves, recursive-descent parser
//   RegexNfa      Thompson NFA with the anchor decisions
//   RegexDfa      subset construction and stepping
//   DfaRegExp     the compiled-pattern cache (TRegularExpression)
//   PatternMatcher the plain and anchored searches (TPatternMatcher)
//   PatternString the global substitution and replacement expansion (TPatternString)
//
// Syntax: | ( ) * + ? [...] [^...] . ^ $ and backslash escapes (\b \n \r \t, \x with 1-4
// hex digits, 1-6 octal digits, any other character as itself). "^" anchors only where it
// can be the first thing matched and "$" only where it can be the last; elsewhere they are
// ordinary characters. "{" and "}" are ordinary characters.
//
// Typical use:
//   TPatternString pattern(TTextEncoding::teUtf8);
//   pattern.SetRegExp("[ \\t]+,[ \\t]+");
//   int count = pattern.GSub(",", text);
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexChars.h"
#include "regex/RegexDfa.h"
#include "regex/RegexParse.h"
#include "regex/ScanPlan.h"

namespace tallyon {

// One compiled pattern: the automaton, what the plain search needs of it, and the text it
// was compiled from.
struct TCompiledPattern {
    std::string text;  // after preprocessing
    std::unique_ptr<TPatDFA> dfa;
    TScanPlan plan;
};

// Compiles a pattern text into a DFA within `bounds`; raises EPatternError.
std::unique_ptr<TPatDFA> CompilePattern(std::string_view pattern, const TCharCodec& codec,
                                        const TDfaBounds& bounds = {});

class TRegularExpression {
public:
    static constexpr std::size_t kCacheSize = 30;

    explicit TRegularExpression(TTextEncoding encoding);
    virtual ~TRegularExpression() = default;
    TRegularExpression(const TRegularExpression&) = delete;
    TRegularExpression& operator=(const TRegularExpression&) = delete;

    // The pattern as last set (before preprocessing); empty after a failed compile.
    const std::string& RegExp() const { return regExp_; }
    // Compiles `pattern` (or finds it in the cache) and makes it current. On EPatternError
    // the failed entry is removed, the empty pattern becomes current and RegExp() empty.
    void SetRegExp(std::string_view pattern);

    virtual TCharCode LineHeadCode() const { return codec_.LineHeadCode(); }
    virtual TCharCode LineTailCode() const { return codec_.LineTailCode(); }

    // Bounds for the automata of later compiles (patterns already cached keep theirs).
    // Production code keeps the defaults; tests and the fuzzer lower them.
    void SetAutomatonBounds(const TDfaBounds& bounds) { bounds_ = bounds; }

    const TCharCodec& Codec() const { return codec_; }
    const TPatDFA& CurrentDfa() const { return *cache_[current_].dfa; }
    const TScanPlan& CurrentScanPlan() const { return cache_[current_].plan; }
    // The cache contents: entry 0 is always the empty pattern.
    std::size_t CacheCount() const { return cache_.size(); }
    const std::string& CachedPattern(std::size_t index) const { return cache_[index].text; }
    std::size_t CurrentIndex() const { return current_; }

protected:
    TPatPreProcessor preProcessor_;

private:
    TCharCodec codec_;
    std::vector<TCompiledPattern> cache_;  // at most kCacheSize; [0] is the empty pattern
    std::size_t current_ = 0;
    std::string regExp_;
    TDfaBounds bounds_;
};

enum class TLineSeparator { lsCRLF, lsLF };

// A match: byte offsets into the searched text, start <= end.
struct TPatMatch {
    std::size_t start;
    std::size_t end;
    bool operator==(const TPatMatch&) const = default;
};

// The searches of the current pattern. Each finds the leftmost match and, among matches
// starting there, the longest; positions are byte offsets and always character boundaries.
class TPatternMatcher : public TRegularExpression {
public:
    using TRegularExpression::TRegularExpression;

    TLineSeparator LineSeparator() const { return lineSeparator_; }
    void SetLineSeparator(TLineSeparator separator) { lineSeparator_ = separator; }

    // Tries each start position from `from` to the last character (the end is tried only
    // when the text from `from` is empty).
    std::optional<TPatMatch> PlainSearch(std::string_view text, std::size_t from) const;
    // The first search of an anchored pattern from `from`, where a line starts.
    std::optional<TPatMatch> AnchoredSearch(std::string_view text, std::size_t from) const;
    // An anchored pattern searched from inside a line: "^" matches only after an LF.
    std::optional<TPatMatch> MidLineSearch(std::string_view text, std::size_t from) const;

protected:
    // The end of the longest match that runs from `state` at `pos`, with the line-tail rule.
    std::optional<std::size_t> Run(const TPatDFA& dfa, int state, std::string_view text,
                                   std::size_t pos) const;
    std::optional<TPatMatch> MatchAtLineStart(const TPatDFA& dfa, std::string_view text,
                                              std::size_t pos) const;

private:
    TLineSeparator lineSeparator_ = TLineSeparator::lsCRLF;
};

class TPatternString : public TPatternMatcher {
public:
    using TPatternMatcher::TPatternMatcher;

    bool UseFuzzyDictionary() const { return preProcessor_.UseFuzzyDictionary; }
    void SetUseFuzzyDictionary(bool on) { preProcessor_.UseFuzzyDictionary = on; }
    bool UseSynonymDictionary() const { return preProcessor_.UseSynonymDictionary; }
    void SetUseSynonymDictionary(bool on) { preProcessor_.UseSynonymDictionary = on; }

    // The search chosen for the current pattern (anchored when it begins with "^" or ends
    // with "$", plain otherwise), from `from` where a line starts.
    std::optional<TPatMatch> Search(std::string_view text, std::size_t from = 0) const;

    // Replaces every match of the current pattern in `text` by the expansion of
    // `replacement` ("&" is the matched text, "\&" a literal "&", escapes as in patterns);
    // returns the number of replacements. An empty match inserts the replacement before the
    // character at its position; no empty match is tried at the end of a non-empty text
    // (anchored "$" excepted). Raises EPatternError for a malformed replacement (its
    // position counts in the replacement), leaving `text` unchanged.
    int GSub(std::string_view replacement, std::string& text) const;
};

}  // namespace tallyon
