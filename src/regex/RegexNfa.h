// The nondeterministic automaton of a parse tree (Thompson's construction).
//
// GenerateStateList creates the initial and the final state and then builds the root node
// between them; a node built from state a to state b adds transitions and, for
// concatenation and closure, fresh states in between. The anchors are decided here: "^" is
// the line-head pseudo-code only on a transition that leaves the initial state, "$" the
// line-tail pseudo-code only on one that enters the final state; anywhere else they are the
// characters "^" and "$" themselves.
#pragma once

#include <cstddef>
#include <vector>

#include "regex/RegexChars.h"
#include "regex/RegexParse.h"

namespace tallyon {

struct TNfaTransition {
    int condition;  // index into TPatNFA::Conditions(); -1 for an epsilon transition
    int target;     // index of the target state
    bool Epsilon() const { return condition < 0; }
};

struct TNfaState {
    std::vector<TNfaTransition> out;
};

class TPatNFA {
public:
    // Bounds that keep a hostile pattern (deeply repeated "+") from exhausting memory;
    // beyond them GenerateStateList raises EPatternError(kTooComplex).
    static constexpr std::size_t kMaxStates = 20000;
    static constexpr std::size_t kMaxTransitions = 200000;

    // Builds the automaton of `tree`; `errorPosition` is reported with a bound error. A node
    // index outside the tree or an unknown node kind is an internal fault (std::logic_error);
    // no pattern can produce either.
    void GenerateStateList(const TPatParseTree& tree, const TCharCodec& codec,
                           std::size_t errorPosition);

    const std::vector<TNfaState>& States() const { return states_; }
    // The pairwise disjoint conditions: the tree's leaves, then the line-head and the
    // line-tail pseudo-code.
    const std::vector<TCodeRange>& Conditions() const { return conditions_; }
    int Initial() const { return initial_; }
    int Final() const { return final_; }
    bool BeginsWithLineHead() const { return beginsWithLineHead_; }
    bool EndsWithLineTail() const { return endsWithLineTail_; }

private:
    int NewState();
    void Add(int from, int to, int condition);

    std::vector<TNfaState> states_;
    std::vector<TCodeRange> conditions_;
    int initial_ = 0;
    int final_ = 1;
    bool beginsWithLineHead_ = false;
    bool endsWithLineTail_ = false;
    std::size_t transitions_ = 0;
    std::size_t errorPosition_ = 0;
};

}  // namespace tallyon
