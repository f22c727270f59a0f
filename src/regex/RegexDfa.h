// The deterministic automaton of a pattern, built from its NFA by subset construction.
//
// How the automaton works. Each DFA state stands for a set of NFA states: the states the
// NFA could be in after reading the same text. The start state is the epsilon closure of
// the NFA's initial state. For a state, every non-epsilon transition of its NFA states is
// collected and grouped by condition; since the parser made all leaf ranges pairwise
// disjoint, two transitions either carry the same range or share no character, so each
// group is one range. The epsilon closure of a group's targets is the DFA state reached on
// that range: found among the states built so far, or created. States are processed in
// creation order until none is left; a state is final when its set holds the NFA's final
// state. Each state's transitions are then sorted by range start, and neighbouring ranges
// with the same target are merged.
//
// Stepping. The next state for a character is found in the sorted ranges of the state by
// binary search; a character in no range has no transition. For codes below 256 (every
// byte of plain ASCII text) a dense table per state gives the same answer in one lookup.
// Its entries are tagged so that a search loop needs nothing else per step: an entry is the
// offset of the target's row (target * 256) with the low bit set when the target is final,
// or kDeadEntry (negative) where there is no transition.
// The line-head and line-tail pseudo-codes lie above every text code, so they are ordinary
// ranges here and a text character can never step on them.
//
// Bounds. A pattern such as (a|b)*a(a|b)(a|b)...(a|b) needs exponentially many states; the
// construction stops with EPatternError(kTooComplex) when it would build more than
// kMaxStates states or kMaxTransitions transitions, or do more than kMaxWork elementary
// steps (an NFA transition examined, an NFA state visited by a closure, a word of a state
// set hashed), so compiling
// never exhausts memory and its time stays bounded.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "regex/RegexChars.h"
#include "regex/RegexNfa.h"

namespace tallyon {

// A set of NFA state numbers as a bit array.
class TPatNFAStateSet {
public:
    explicit TPatNFAStateSet(std::size_t states = 0) : words_((states + 63) / 64, 0) {}
    void Clear() { std::fill(words_.begin(), words_.end(), 0); }
    void Insert(int state) { words_[state >> 6] |= std::uint64_t{1} << (state & 63); }
    bool Contains(int state) const { return (words_[state >> 6] >> (state & 63)) & 1; }
    const std::vector<std::uint64_t>& Words() const { return words_; }
    bool operator==(const TPatNFAStateSet&) const = default;

private:
    std::vector<std::uint64_t> words_;
};

struct TDfaTransition {
    TCodeRange range;
    int target;
};

struct TDfaState {
    TPatNFAStateSet set;                      // the NFA states this state stands for
    bool final = false;                       // set holds the NFA's final state
    std::vector<TDfaTransition> transitions;  // sorted by range start, disjoint
};

// The construction bounds, at their production values by default. Tests and the fuzzer
// lower them so that a pattern with a huge automaton fails after little work.
struct TDfaBounds {
    std::size_t states = 10000;
    std::size_t transitions = 1000000;
    std::size_t work = 1000000;
};

class TPatDFA {
public:
    static constexpr std::size_t kMaxStates = TDfaBounds{}.states;
    static constexpr std::size_t kMaxTransitions = TDfaBounds{}.transitions;
    static constexpr std::size_t kMaxWork = TDfaBounds{}.work;
    static constexpr int kNone = -1;  // "no transition"
    static_assert(kMaxStates * 256 <= 0x7FFFFFFF, "row offsets must fit the tagged table");

    // Subset construction over `nfa`; raises EPatternError(kTooComplex, errorPosition)
    // beyond the bounds.
    void Build(const TPatNFA& nfa, std::size_t errorPosition, const TDfaBounds& bounds = {});

    int Start() const { return 0; }
    bool IsFinal(int state) const { return finals_[state] != 0; }
    // The tagged dense table (see above): entry RowOf(state) + code for codes 0..255.
    static constexpr std::int32_t kDeadEntry = -1;
    static constexpr std::int32_t kFinalTag = 1;
    static constexpr std::int32_t kRowMask = ~std::int32_t{255};
    const std::int32_t* Table() const { return dense_.data(); }
    static std::int32_t RowOf(int state) { return state * 256; }
    static int StateOfEntry(std::int32_t entry) { return entry < 0 ? kNone : entry >> 8; }

    // The state after `code`, or kNone.
    int Step(int state, TCharCode code) const {
        if (code < 256) return StateOfEntry(dense_[static_cast<std::size_t>(state) * 256 + code]);
        return StepSorted(state, code);
    }
    // The same answer found by walking the sorted ranges only (used to check the table).
    int StepSorted(int state, TCharCode code) const;

    bool BeginsWithLineHead() const { return beginsWithLineHead_; }
    bool EndsWithLineTail() const { return endsWithLineTail_; }
    std::size_t StateCount() const { return states_.size(); }
    const TDfaState& State(int state) const { return states_[state]; }

private:
    std::vector<TDfaState> states_;
    std::vector<std::int32_t> dense_;   // states * 256 tagged entries for codes 0..255
    std::vector<std::uint8_t> finals_;  // 1 for a final state
    bool beginsWithLineHead_ = false;
    bool endsWithLineTail_ = false;
};

}  // namespace tallyon
