// Compiling patterns and the cache of compiled patterns.
//
// The cache is an ordered list: entry 0 is the empty pattern, compiled at creation; a newly
// compiled pattern is inserted at position 1, and when the list is full the entry at the
// end is dropped first. Lookup compares the preprocessed text exactly, so the program's
// few fixed patterns are each compiled once per run.
#include "regex/DfaRegExp.h"

#include "regex/RegexNfa.h"

namespace tallyon {

std::unique_ptr<TPatDFA> CompilePattern(std::string_view pattern, const TCharCodec& codec,
                                        const TDfaBounds& bounds) {
    const std::size_t endPosition = pattern.size() + 1;
    TPatParseTree tree;
    TPatParser(pattern, codec).Parse(tree);
    TPatNFA nfa;
    nfa.GenerateStateList(tree, codec, endPosition);
    auto dfa = std::make_unique<TPatDFA>();
    dfa->Build(nfa, endPosition, bounds);
    return dfa;
}

TRegularExpression::TRegularExpression(TTextEncoding encoding) : codec_(encoding) {
    auto dfa = CompilePattern("", codec_);
    TScanPlan plan(*dfa, codec_);
    cache_.push_back({std::string(), std::move(dfa), plan});
}

void TRegularExpression::SetRegExp(std::string_view pattern) {
    std::string text = preProcessor_.Process(pattern);
    for (std::size_t i = 0; i < cache_.size(); ++i) {
        if (cache_[i].text == text) {
            current_ = i;
            regExp_ = pattern;
            return;
        }
    }
    if (cache_.size() >= kCacheSize) cache_.pop_back();
    cache_.insert(cache_.begin() + 1, TCompiledPattern{std::move(text), nullptr, TScanPlan()});
    try {
        cache_[1].dfa = CompilePattern(cache_[1].text, codec_, bounds_);
        cache_[1].plan = TScanPlan(*cache_[1].dfa, codec_);
    } catch (...) {
        cache_.erase(cache_.begin() + 1);
        current_ = 0;
        regExp_.clear();
        throw;
    }
    current_ = 1;
    regExp_ = pattern;
}

}  // namespace tallyon
