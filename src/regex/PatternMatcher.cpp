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

std::optional<std::size_t> TPatternMatcher::Run(const TPatDFA& dfa, int state,
                                                std::string_view text, std::size_t pos) const {
    const TCharCodec& codec = Codec();
    const std::size_t n = text.size();
    std::optional<std::size_t> last;
    if (dfa.IsFinal(state)) last = pos;
    while (pos < n) {
        const auto b = static_cast<unsigned char>(text[pos]);
        TCharCode code = b;
        const std::size_t length = b < 0x80 ? 1 : codec.Decode(text, pos, code);
        const int next = dfa.Step(state, code);
        if (next == TPatDFA::kNone) break;
        state = next;
        pos += length;
        if (dfa.IsFinal(state)) last = pos;
    }
    if (dfa.EndsWithLineTail()) {
        const char separator = lineSeparator_ == TLineSeparator::lsCRLF ? '\r' : '\n';
        if ((pos == n || text[pos] == separator) &&
            dfa.Step(state, LineTailCode()) != TPatDFA::kNone) {
            last = pos;
        }
    }
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
    std::size_t pos = from;
    while (pos < n) {
        // An ASCII byte on which the start state cannot step is not a match start; skip it
        // without a full run (the common case in long texts).
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80 && !dfa.IsFinal(start) && dfa.Step(start, b) == TPatDFA::kNone) {
            ++pos;
            continue;
        }
        if (const auto end = Run(dfa, start, text, pos)) return TPatMatch{pos, *end};
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
