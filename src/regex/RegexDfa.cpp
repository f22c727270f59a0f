// Subset construction and the step tables (the method is described in RegexDfa.h).
#include "regex/RegexDfa.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tallyon {

namespace {

// Work charged for each condition of a state beyond its targets: the key of its target
// list is built and looked up, which costs about as much as this many closure steps.
constexpr std::size_t kConditionCost = 16;

// Epsilon closure of `seeds` in `nfa`, into `set` (cleared first); adds the states it
// visits and the words it clears to `work`.
void Closure(const TPatNFA& nfa, const std::vector<int>& seeds, TPatNFAStateSet& set,
             std::vector<int>& stack, std::size_t& work) {
    set.Clear();
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
}

// The bytes of a vector, as a key for the lookup tables below.
template <typename T>
std::string_view BytesOf(const std::vector<T>& v) {
    return {reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T)};
}

// Hash maps keyed by byte strings that can be searched with a view, so that a lookup
// allocates nothing.
struct TKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
        return std::hash<std::string_view>{}(key);
    }
};
using TKeyMap = std::unordered_map<std::string, int, TKeyHash, std::equal_to<>>;

}  // namespace

// ---- Subset construction ----------------------------------------------------------------

void TPatDFA::Build(const TPatNFA& nfa, std::size_t errorPosition, const TDfaBounds& bounds) {
    states_.clear();
    beginsWithLineHead_ = nfa.BeginsWithLineHead();
    endsWithLineTail_ = nfa.EndsWithLineTail();
    TKeyMap known;  // state set -> DFA state
    TPatNFAStateSet scratch(nfa.States().size());
    std::vector<int> stack;
    std::size_t transitionCount = 0;
    std::size_t work = 0;  // edges and closure steps so far, bounded by bounds.work
    auto tooComplex = [&] { throw EPatternError(PatternMessage::kTooComplex, errorPosition); };

    // The DFA state of the set in `scratch`, created when new.
    auto findOrAdd = [&]() {
        work += scratch.Words().size();
        if (work > bounds.work) tooComplex();
        const std::string_view key = BytesOf(scratch.Words());
        if (const auto found = known.find(key); found != known.end()) return found->second;
        if (states_.size() >= bounds.states) tooComplex();
        TDfaState state;
        state.final = scratch.Contains(nfa.Final());
        state.set = scratch;
        states_.push_back(std::move(state));
        const int id = static_cast<int>(states_.size()) - 1;
        known.emplace(std::string(key), id);
        return id;
    };
    Closure(nfa, {nfa.Initial()}, scratch, stack, work);
    findOrAdd();

    // Targets of the current state's NFA states, one bucket per condition; `touched` lists
    // the non-empty buckets.
    const std::vector<TCodeRange>& conditions = nfa.Conditions();
    std::vector<std::vector<int>> targets(conditions.size());
    std::vector<int> touched;
    TKeyMap byTargets;  // sorted target list -> DFA state
    for (std::size_t i = 0; i < states_.size(); ++i) {
        touched.clear();
        const auto& words = states_[i].set.Words();
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
                const int s = static_cast<int>(w * 64 + __builtin_ctzll(bits));
                if (work > bounds.work) tooComplex();
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
            work += list.size() + kConditionCost;
            int next;
            if (const auto hit = byTargets.find(BytesOf(list)); hit != byTargets.end()) {
                next = hit->second;
            } else {
                Closure(nfa, list, scratch, stack, work);
                next = findOrAdd();
                byTargets.emplace(std::string(BytesOf(list)), next);
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
        if (transitionCount > bounds.transitions || work > bounds.work) tooComplex();
        states_[i].transitions = std::move(out);
    }

    // ---- Dense table for codes below 256 ----
    finals_.assign(states_.size(), 0);
    for (std::size_t i = 0; i < states_.size(); ++i)
        finals_[i] = states_[i].final ? 1 : 0;
    dense_.assign(states_.size() * 256, kDeadEntry);
    for (std::size_t i = 0; i < states_.size(); ++i) {
        for (const TDfaTransition& t : states_[i].transitions) {
            if (t.range.lo > 255) break;
            const TCharCode hi = std::min<TCharCode>(t.range.hi, 255);
            const std::int32_t entry = RowOf(t.target) | (finals_[t.target] ? kFinalTag : 0);
            std::fill(dense_.begin() + i * 256 + t.range.lo, dense_.begin() + i * 256 + hi + 1,
                      entry);
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

}  // namespace tallyon
