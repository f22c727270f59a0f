// Subset construction and the step tables (the method is described in RegexDfa.h).
#include "regex/RegexDfa.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

// Epsilon closure of `seeds` in `nfa`, as a state set.
TPatNFAStateSet Closure(const TPatNFA& nfa, const std::vector<int>& seeds,
                        std::vector<int>& stack) {
    TPatNFAStateSet set(nfa.States().size());
    stack.clear();
    for (int s : seeds) {
        if (!set.Contains(s)) {
            set.Insert(s);
            stack.push_back(s);
        }
    }
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        for (const TNfaTransition& t : nfa.States()[s].out) {
            if (t.epsilon && !set.Contains(t.target)) {
                set.Insert(t.target);
                stack.push_back(t.target);
            }
        }
    }
    return set;
}

std::string KeyOf(const TPatNFAStateSet& set) {
    const auto& words = set.Words();
    return std::string(reinterpret_cast<const char*>(words.data()),
                       words.size() * sizeof(std::uint64_t));
}

}  // namespace

// ---- Subset construction ----------------------------------------------------------------

void TPatDFA::Build(const TPatNFA& nfa, std::size_t errorPosition) {
    states_.clear();
    beginsWithLineHead_ = nfa.BeginsWithLineHead();
    endsWithLineTail_ = nfa.EndsWithLineTail();
    std::unordered_map<std::string, int> known;  // state set -> DFA state
    std::vector<int> stack;
    std::size_t transitionCount = 0;

    auto findOrAdd = [&](TPatNFAStateSet&& set) {
        std::string key = KeyOf(set);
        const auto found = known.find(key);
        if (found != known.end()) return found->second;
        if (states_.size() >= kMaxStates) {
            throw EPatternError(PatternMessage::kTooComplex, errorPosition);
        }
        TDfaState state;
        state.final = set.Contains(nfa.Final());
        state.set = std::move(set);
        states_.push_back(std::move(state));
        const int id = static_cast<int>(states_.size()) - 1;
        known.emplace(std::move(key), id);
        return id;
    };
    findOrAdd(Closure(nfa, {nfa.Initial()}, stack));

    struct Edge {
        TCodeRange range;
        int target;
    };
    std::vector<Edge> edges;
    std::vector<int> targets;
    for (std::size_t i = 0; i < states_.size(); ++i) {
        // Collect every non-epsilon transition of the state's NFA states, grouped by range.
        edges.clear();
        const auto& words = states_[i].set.Words();
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
                const int s = static_cast<int>(w * 64 + __builtin_ctzll(bits));
                for (const TNfaTransition& t : nfa.States()[s].out) {
                    if (!t.epsilon) edges.push_back({t.range, t.target});
                }
            }
        }
        std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
            return a.range.lo != b.range.lo ? a.range.lo < b.range.lo : a.target < b.target;
        });
        std::vector<TDfaTransition> out;
        for (std::size_t e = 0; e < edges.size();) {
            targets.clear();
            const TCodeRange range = edges[e].range;
            for (; e < edges.size() && edges[e].range.lo == range.lo; ++e) {
                targets.push_back(edges[e].target);
            }
            const int next = findOrAdd(Closure(nfa, targets, stack));
            if (!out.empty() && out.back().target == next && out.back().range.hi + 1 == range.lo) {
                out.back().range.hi = range.hi;
            } else {
                out.push_back({range, next});
            }
        }
        transitionCount += out.size();
        if (transitionCount > kMaxTransitions) {
            throw EPatternError(PatternMessage::kTooComplex, errorPosition);
        }
        states_[i].transitions = std::move(out);
    }

    // ---- Dense table for codes below 256 ----
    finals_.assign(states_.size(), 0);
    for (std::size_t i = 0; i < states_.size(); ++i)
        finals_[i] = states_[i].final ? 1 : 0;
    dense_.assign(states_.size() * 256, kNone);
    for (std::size_t i = 0; i < states_.size(); ++i) {
        for (const TDfaTransition& t : states_[i].transitions) {
            if (t.range.lo > 255) break;
            const TCharCode hi = std::min<TCharCode>(t.range.hi, 255);
            std::fill(dense_.begin() + i * 256 + t.range.lo, dense_.begin() + i * 256 + hi + 1,
                      t.target);
        }
    }
}

// ---- Stepping ---------------------------------------------------------------------------

int TPatDFA::StepSorted(int state, TCharCode code) const {
    const auto& list = states_[state].transitions;
    auto it = std::upper_bound(list.begin(), list.end(), code,
                               [](TCharCode c, const TDfaTransition& t) { return c < t.range.lo; });
    if (it == list.begin()) return kNone;
    --it;
    return code <= it->range.hi ? it->target : kNone;
}
