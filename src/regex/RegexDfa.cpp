// Subset construction and the step tables (the method is described in RegexDfa.h).
#include "regex/RegexDfa.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

// Epsilon closure of `seeds` in `nfa`, as a state set; adds the states it visits to `work`.
TPatNFAStateSet Closure(const TPatNFA& nfa, const std::vector<int>& seeds, std::vector<int>& stack,
                        std::size_t& work) {
    TPatNFAStateSet set(nfa.States().size());
    work += set.Words().size();
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
        ++work;
        for (const TNfaTransition& t : nfa.States()[s].out) {
            if (t.Epsilon() && !set.Contains(t.target)) {
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
    std::size_t work = 0;  // edges and closure steps so far, bounded by kMaxWork
    auto tooComplex = [&] { throw EPatternError(PatternMessage::kTooComplex, errorPosition); };

    auto findOrAdd = [&](TPatNFAStateSet&& set) {
        work += set.Words().size();
        if (work > kMaxWork) tooComplex();
        std::string key = KeyOf(set);
        const auto found = known.find(key);
        if (found != known.end()) return found->second;
        if (states_.size() >= kMaxStates) tooComplex();
        TDfaState state;
        state.final = set.Contains(nfa.Final());
        state.set = std::move(set);
        states_.push_back(std::move(state));
        const int id = static_cast<int>(states_.size()) - 1;
        known.emplace(std::move(key), id);
        return id;
    };
    findOrAdd(Closure(nfa, {nfa.Initial()}, stack, work));

    // Targets of the current state's NFA states, one bucket per condition; `touched` lists
    // the non-empty buckets.
    const std::vector<TCodeRange>& conditions = nfa.Conditions();
    std::vector<std::vector<int>> targets(conditions.size());
    std::vector<int> touched;
    std::unordered_map<std::string, int> byTargets;  // sorted target list -> DFA state
    for (std::size_t i = 0; i < states_.size(); ++i) {
        touched.clear();
        const auto& words = states_[i].set.Words();
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
                const int s = static_cast<int>(w * 64 + __builtin_ctzll(bits));
                if (work > kMaxWork) tooComplex();
                for (const TNfaTransition& t : nfa.States()[s].out) {
                    if (t.Epsilon()) continue;
                    ++work;
                    if (targets[t.condition].empty()) touched.push_back(t.condition);
                    targets[t.condition].push_back(t.target);
                }
            }
        }
        // Conditions are disjoint, so ordering by start orders the transitions.
        std::sort(touched.begin(), touched.end(),
                  [&](int a, int b) { return conditions[a].lo < conditions[b].lo; });
        std::vector<TDfaTransition> out;
        for (int c : touched) {
            // Conditions often share their targets (every piece of "." does), so the DFA
            // state of a target list is remembered rather than its closure recomputed.
            std::vector<int>& list = targets[c];
            std::sort(list.begin(), list.end());
            list.erase(std::unique(list.begin(), list.end()), list.end());
            std::string listKey(reinterpret_cast<const char*>(list.data()),
                                list.size() * sizeof(int));
            work += list.size();
            int next;
            if (const auto hit = byTargets.find(listKey); hit != byTargets.end()) {
                next = hit->second;
            } else {
                next = findOrAdd(Closure(nfa, list, stack, work));
                byTargets.emplace(std::move(listKey), next);
            }
            list.clear();
            const TCodeRange range = conditions[c];
            if (!out.empty() && out.back().target == next && out.back().range.hi + 1 == range.lo) {
                out.back().range.hi = range.hi;
            } else {
                out.push_back({range, next});
            }
        }
        transitionCount += out.size();
        if (transitionCount > kMaxTransitions || work > kMaxWork) tooComplex();
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
