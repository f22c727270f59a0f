// The searches of TPatternMatcher.
//
// Every search tries start positions left to right and runs the DFA from each: it
// remembers the last position at which the state was final and stops where no transition
// exists, so the first start position that reaches a final state gives the leftmost
// match and the remembered position its longest end. The anchored searches add the line
// rules: a run that stops on the line separator (CR for lsCRLF, LF for lsLF) or at the end
// of the text, in a state that could step on the line-tail code, ends its match there; and
// a pattern that begins with "^" is started from the state reached on the line-head code
// at the start of the text and after every LF.
#include "regex/DfaRegExp.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tallyon {

namespace {

constexpr std::size_t kNoEnd = std::string_view::npos;

// The trajectory of a failed walk: the state it was in at each position it passed. The
// plain search tries start positions one after another and every walk before the first
// match fails, so a later walk that reaches the same state at the same position as a
// failed one can stop there: it would fail the same way. Walks from neighbouring starts
// usually merge within a few characters, which keeps a long run that almost matches (a
// megabyte of blanks and no comma) linear instead of quadratic. Only steps beyond
// kRecordAfter are recorded and checked, so short walks pay nothing.
class TDeadEnds {
public:
    static constexpr std::size_t kRecordAfter = 16;

    // True when the state at `pos` lies on the kept failed trajectory.
    bool Contains(std::size_t pos, int state) const {
        return pos >= base_ && pos - base_ < dead_.size() && dead_[pos - base_] == state;
    }
    // Records the current walk's state at `pos` (positions strictly increase in a walk).
    void Record(std::size_t pos, int state) {
        if (walkBase_ == kNoEnd) walkBase_ = pos;
        walk_.resize(pos - walkBase_, -1);  // -1 marks the inner bytes of a character
        walk_.push_back(state);
    }
    // The current walk failed. Unless it stopped on the kept trajectory (which then still
    // reaches further), what it recorded becomes the kept trajectory; the next walk starts
    // with nothing recorded.
    void EndFailedWalk(bool merged) {
        if (walkBase_ == kNoEnd) return;
        if (!merged) {
            dead_.swap(walk_);
            base_ = walkBase_;
        }
        walk_.clear();
        walkBase_ = kNoEnd;
    }

private:
    std::vector<int> dead_;  // state at position base_ + i of the kept failed walk
    std::size_t base_ = 0;
    std::vector<int> walk_;  // the current walk's recorded states from walkBase_
    std::size_t walkBase_ = kNoEnd;
};

// Walks the DFA from `state` at `pos` until no transition exists; returns the last position
// at which the state was final (kNoEnd if none) and leaves `state` and `pos` where the walk
// stopped. ASCII bytes step through the dense table without decoding. With `deadEnds`,
// the walk records its trajectory and stops where it meets a failed one (`merged`).
inline std::size_t Walk(const TPatDFA& dfa, const TCharCodec& codec, std::string_view text,
                        int& state, std::size_t& pos, TDeadEnds* deadEnds = nullptr,
                        bool* merged = nullptr) {
    const std::size_t n = text.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::int32_t* dense = dfa.DenseRow(0);
    const std::uint8_t* finals = dfa.Finals();
    int s = state;
    std::size_t p = pos;
    std::size_t last = finals[s] ? p : kNoEnd;
    std::size_t steps = 0;
    while (p < n) {
        const unsigned char b = bytes[p];
        int next;
        std::size_t length = 1;
        if (b < 0x80) {
            next = dense[static_cast<std::size_t>(s) * 256 + b];
        } else {
            TCharCode code;
            length = codec.Decode(text, p, code);
            next = dfa.Step(s, code);
        }
        if (next == TPatDFA::kNone) break;
        s = next;
        p += length;
        if (finals[s]) last = p;
        if (deadEnds && ++steps > TDeadEnds::kRecordAfter) {
            if (deadEnds->Contains(p, s)) {
                *merged = true;
                break;
            }
            deadEnds->Record(p, s);
        }
    }
    state = s;
    pos = p;
    return last;
}

}  // namespace

std::optional<std::size_t> TPatternMatcher::Run(const TPatDFA& dfa, int state,
                                                std::string_view text, std::size_t pos) const {
    std::size_t last = Walk(dfa, Codec(), text, state, pos);
    if (dfa.EndsWithLineTail()) {
        const char separator = lineSeparator_ == TLineSeparator::lsCRLF ? '\r' : '\n';
        if ((pos == text.size() || text[pos] == separator) &&
            dfa.Step(state, LineTailCode()) != TPatDFA::kNone) {
            last = pos;
        }
    }
    if (last == kNoEnd) return std::nullopt;
    return last;
}

std::optional<TPatMatch> TPatternMatcher::PlainSearch(std::string_view text,
                                                      std::size_t from) const {
    const TPatDFA& dfa = CurrentDfa();
    const int start = dfa.Start();
    const std::size_t n = text.size();
    if (from >= n) {
        if (from == n && dfa.IsFinal(start)) return TPatMatch{n, n};
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::int32_t* startRow = dfa.DenseRow(start);
    const bool startFinal = dfa.IsFinal(start);
    TDeadEnds deadEnds;
    std::size_t pos = from;
    while (pos < n) {
        // An ASCII byte on which the start state cannot step is not a match start; skip
        // such bytes without a full run (the common case in long texts).
        if (!startFinal) {
            while (pos < n && bytes[pos] < 0x80 && startRow[bytes[pos]] == TPatDFA::kNone)
                ++pos;
            if (pos == n) break;
        }
        // The line-tail rule belongs to the anchored searches; here the bare walk decides.
        int state = start;
        std::size_t stop = pos;
        bool merged = false;
        const std::size_t end = Walk(dfa, Codec(), text, state, stop, &deadEnds, &merged);
        if (end != kNoEnd) return TPatMatch{pos, end};
        deadEnds.EndFailedWalk(merged);
        pos += Codec().Length(text, pos);
    }
    return std::nullopt;
}

std::optional<TPatMatch> TPatternMatcher::MatchAtLineStart(const TPatDFA& dfa,
                                                           std::string_view text,
                                                           std::size_t pos) const {
    const int start = dfa.Start();
    if (!dfa.BeginsWithLineHead()) {
        const auto end = Run(dfa, start, text, pos);
        return end ? std::optional<TPatMatch>(TPatMatch{pos, *end}) : std::nullopt;
    }
    const int head = dfa.Step(start, LineHeadCode());
    if (head == TPatDFA::kNone) return std::nullopt;
    const auto headEnd = Run(dfa, head, text, pos);
    if (!headEnd) return std::nullopt;
    const auto plainEnd = Run(dfa, start, text, pos);
    return TPatMatch{pos, std::max(*headEnd, plainEnd.value_or(*headEnd))};
}

std::optional<TPatMatch> TPatternMatcher::AnchoredSearch(std::string_view text,
                                                         std::size_t from) const {
    if (from > text.size()) return std::nullopt;
    if (const auto match = MatchAtLineStart(CurrentDfa(), text, from)) return match;
    return MidLineSearch(text, from);
}

std::optional<TPatMatch> TPatternMatcher::MidLineSearch(std::string_view text,
                                                        std::size_t from) const {
    const TPatDFA& dfa = CurrentDfa();
    const int start = dfa.Start();
    const std::size_t n = text.size();
    if (from > n) return std::nullopt;
    for (std::size_t pos = from; pos < n; pos += Codec().Length(text, pos)) {
        if (const auto end = Run(dfa, start, text, pos)) return TPatMatch{pos, *end};
        if (text[pos] == '\n' && dfa.BeginsWithLineHead()) {
            if (const auto match = MatchAtLineStart(dfa, text, pos + 1)) return match;
        }
    }
    if (dfa.EndsWithLineTail() && dfa.Step(start, LineTailCode()) != TPatDFA::kNone) {
        return TPatMatch{n, n};
    }
    return std::nullopt;
}

}  // namespace tallyon
