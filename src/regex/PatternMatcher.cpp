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
#include "regex/PlainScanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyon {

namespace {

constexpr std::size_t kNoEnd = std::string_view::npos;

// Walks the DFA from `state` at `pos` until no transition exists; returns the last position
// at which the state was final (kNoEnd if none) and leaves `state` and `pos` where the walk
// stopped. ASCII bytes step through the tagged dense table without decoding: the entry
// read gives both the next row and whether it is final.
inline std::size_t Walk(const TPatDFA& dfa, const TCharCodec& codec, std::string_view text,
                        int& state, std::size_t& pos) {
    const std::size_t n = text.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::int32_t* table = dfa.Table();
    std::int32_t row = TPatDFA::RowOf(state);
    std::size_t p = pos;
    std::size_t last = dfa.IsFinal(state) ? p : kNoEnd;
    while (p < n) {
        const unsigned char b = bytes[p];
        std::int32_t entry;
        std::size_t length = 1;
        if (b < 0x80) {
            entry = table[row + b];
        } else {
            TCharCode code;
            length = codec.Decode(text, p, code);
            const int next = dfa.Step(row >> 8, code);
            if (next == TPatDFA::kNone) break;
            entry = TPatDFA::RowOf(next) | (dfa.IsFinal(next) ? TPatDFA::kFinalTag : 0);
        }
        if (entry < 0) break;
        row = entry & TPatDFA::kRowMask;
        p += length;
        if (entry & TPatDFA::kFinalTag) last = p;
    }
    state = row >> 8;
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
    return TPlainScanner(CurrentScanPlan(), CurrentDfa(), Codec()).Find(text, from);
}

// ---- TScanPlan --------------------------------------------------------------------------

TScanPlan::TScanPlan(const TPatDFA& dfa, const TCharCodec& codec)
    : startFinal(dfa.IsFinal(dfa.Start())) {
    bool wide = codec.Encoding() != TTextEncoding::teUtf8;
    for (const TDfaTransition& t : dfa.State(dfa.Start()).transitions) {
        if (t.range.hi >= 0x80 && t.range.lo <= codec.MaxTextCode()) wide = true;
    }
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        begins[b] = b < 0x80 ? dfa.Step(dfa.Start(), b) != TPatDFA::kNone : wide;
        if (begins[b]) {
            ++count;
            singleFirst = b;
        }
    }
    if (count != 1) singleFirst = -1;
    if constexpr (std::endian::native == std::endian::little) {
        int ascii = 0;
        for (int b = 0; b < 0x80; ++b) {
            if (!begins[b]) continue;
            if (ascii == 4) {
                ascii = -1;
                break;
            }
            wordBytes[ascii++] = static_cast<std::uint64_t>(b) * 0x0101010101010101ull;
        }
        // Unused slots repeat the first byte, so the search always compares four.
        if (ascii > 0) {
            wordByteCount = ascii;
            wordHigh = wide;
            for (int i = ascii; i < 4; ++i)
                wordBytes[i] = wordBytes[0];
            SetUpFollowFilters(dfa, codec);
        }
    }
}

namespace {

// The ASCII bytes on which some state of `states` steps, repeated over a word each (unused
// words repeat the first), and the states they lead to. False when a state is final (a
// match may end before such a byte), when one steps on a code above 0x7F (the filters
// look at ASCII bytes only), or when no byte or more than four can follow.
bool FollowingBytes(const TPatDFA& dfa, const TCharCodec& codec, const std::vector<int>& states,
                    std::uint64_t (&words)[4], std::vector<int>& reached) {
    bool follows[0x80] = {};
    reached.clear();
    for (const int state : states) {
        if (dfa.IsFinal(state)) return false;
        for (const TDfaTransition& t : dfa.State(state).transitions) {
            if (t.range.hi >= 0x80 && t.range.lo <= codec.MaxTextCode()) return false;
        }
        for (int c = 0; c < 0x80; ++c) {
            const int next = dfa.Step(state, c);
            if (next == TPatDFA::kNone) continue;
            follows[c] = true;
            if (std::find(reached.begin(), reached.end(), next) == reached.end()) {
                reached.push_back(next);
            }
        }
    }
    int count = 0;
    for (int c = 0; c < 0x80; ++c) {
        if (!follows[c]) continue;
        if (count == 4) return false;
        words[count++] = static_cast<std::uint64_t>(c) * 0x0101010101010101ull;
    }
    if (count == 0) return false;
    for (int i = count; i < 4; ++i)
        words[i] = words[0];
    return true;
}

}  // namespace

void TScanPlan::SetUpFollowFilters(const TPatDFA& dfa, const TCharCodec& codec) {
    if (wordHigh) return;  // a wide character can begin a match
    std::vector<int> afterOne, afterTwo;
    for (int b = 0; b < 0x80; ++b) {
        if (begins[b]) afterOne.push_back(dfa.Step(dfa.Start(), b));
    }
    secondFilter = FollowingBytes(dfa, codec, afterOne, secondBytes, afterTwo);
    if (secondFilter) thirdFilter = FollowingBytes(dfa, codec, afterTwo, thirdBytes, afterOne);
}

inline std::size_t TPlainScanner::Skip(const unsigned char* bytes, std::size_t pos, std::size_t n) {
    if (plan_.singleFirst >= 0) {
        const void* hit = std::memchr(bytes + pos, plan_.singleFirst, n - pos);
        return hit == nullptr
                   ? n
                   : static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
    }
    if (plan_.wordByteCount >= 0) {
#if defined(__SSE2__)
        // Sixteen bytes at a time where the processor has vector compares: the same test as
        // the word-wise one below, one lane per byte.
        const auto lanes = [](std::uint64_t repeated) {
            return _mm_set1_epi64x(static_cast<long long>(repeated));
        };
        const __m128i first0 = lanes(plan_.wordBytes[0]), first1 = lanes(plan_.wordBytes[1]),
                      first2 = lanes(plan_.wordBytes[2]), first3 = lanes(plan_.wordBytes[3]);
        const __m128i second0 = lanes(plan_.secondBytes[0]), second1 = lanes(plan_.secondBytes[1]),
                      second2 = lanes(plan_.secondBytes[2]), second3 = lanes(plan_.secondBytes[3]);
        const __m128i third0 = lanes(plan_.thirdBytes[0]), third1 = lanes(plan_.thirdBytes[1]),
                      third2 = lanes(plan_.thirdBytes[2]), third3 = lanes(plan_.thirdBytes[3]);
        const auto anyOf = [](__m128i v, __m128i a, __m128i b, __m128i c, __m128i d) {
            return static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b)),
                             _mm_or_si128(_mm_cmpeq_epi8(v, c), _mm_cmpeq_epi8(v, d)))));
        };
        if (blockHits_ != 0 && pos - blockBase_ < 16) {
            const unsigned hits = blockHits_ & (~0u << (pos - blockBase_));
            if (hits != 0) return blockBase_ + static_cast<std::size_t>(std::countr_zero(hits));
            pos = blockBase_ + 16;
        }
        for (; pos + 16 <= n; pos += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + pos));
            unsigned hits = anyOf(v, first0, first1, first2, first3);
            if (plan_.wordHigh) hits |= static_cast<unsigned>(_mm_movemask_epi8(v));
            if (plan_.secondFilter) {
                // Lane i keeps its mark only when lane i + 1 holds a possible second byte;
                // the last lane's next byte lies beyond, so it keeps its mark.
                hits &= (anyOf(v, second0, second1, second2, second3) >> 1) | 0x8000u;
                // Likewise the third byte, for the lanes whose third byte lies here.
                if (plan_.thirdFilter) {
                    hits &= (anyOf(v, third0, third1, third2, third3) >> 2) | 0xC000u;
                }
            }
            if (hits != 0) {
                blockBase_ = pos;
                blockHits_ = hits;
                return pos + static_cast<std::size_t>(std::countr_zero(hits));
            }
        }
#endif
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
        constexpr std::uint64_t kHigh = 0x8080808080808080ull;
        for (; pos + 8 <= n; pos += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + pos, 8);
            std::uint64_t hits = plan_.wordHigh ? word & kHigh : 0;
            // The high bit of each byte of `x` that is zero, without carries between bytes.
            auto zeros = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x) & kHigh; };
            hits |= zeros(word ^ plan_.wordBytes[0]) | zeros(word ^ plan_.wordBytes[1]) |
                    zeros(word ^ plan_.wordBytes[2]) | zeros(word ^ plan_.wordBytes[3]);
            if (plan_.secondFilter) {
                // Lane i keeps its mark only when lane i + 1 holds a possible second byte;
                // the last lane's next byte lies in the next word, so it keeps its mark.
                const std::uint64_t next =
                    zeros(word ^ plan_.secondBytes[0]) | zeros(word ^ plan_.secondBytes[1]) |
                    zeros(word ^ plan_.secondBytes[2]) | zeros(word ^ plan_.secondBytes[3]);
                hits &= (next >> 8) | 0x8000000000000000ull;
            }
            if (hits != 0) return pos + (static_cast<std::size_t>(std::countr_zero(hits)) >> 3);
        }
    }
    while (pos < n && !plan_.begins[bytes[pos]])
        ++pos;
    return pos;
}

// A wide character steps through the sorted ranges; the result is a tagged entry as the
// dense table holds, and the character's length.
TPlainScanner::TWideStep TPlainScanner::StepWide(std::string_view text, std::size_t p,
                                                 std::int32_t row) const {
    TCharCode code;
    const std::size_t length = codec_.Decode(text, p, code);
    const int next = dfa_.Step(row >> 8, code);
    if (next == TPatDFA::kNone) return {TPatDFA::kDeadEntry, length};
    return {TPatDFA::RowOf(next) | (dfa_.IsFinal(next) ? TPatDFA::kFinalTag : 0), length};
}

inline std::size_t TPlainScanner::Walk(std::string_view text, std::size_t pos, bool& merged) {
    const std::size_t n = text.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::int32_t* table = table_;
    std::size_t p = pos;
    std::size_t last = plan_.startFinal ? p : kNoEnd;
    // The first kRecordAfter bytes are walked without touching the dead ends; most walks
    // end there. Each step waits for the one before it, so the row is kept unsigned there:
    // the index then needs no sign extension, one instruction less on that chain.
    const std::size_t quiet = n - p > TDeadEnds::kRecordAfter ? p + TDeadEnds::kRecordAfter : n;
    constexpr auto kRowMask = static_cast<std::uint32_t>(TPatDFA::kRowMask);
    auto quietRow = static_cast<std::uint32_t>(TPatDFA::RowOf(dfa_.Start()));
    while (p < quiet) {
        const unsigned char b = bytes[p];
        std::int32_t entry;
        if (b < 0x80) [[likely]] {
            entry = table[quietRow + b];
            if (entry < 0) return last;
            ++p;
        } else {
            const TWideStep step = StepWide(text, p, static_cast<std::int32_t>(quietRow));
            entry = step.entry;
            if (entry < 0) return last;
            p += step.length;
        }
        quietRow = static_cast<std::uint32_t>(entry) & kRowMask;
        if (entry & TPatDFA::kFinalTag) last = p;
    }
    auto row = static_cast<std::int32_t>(quietRow);
    while (p < n) {
        const unsigned char b = bytes[p];
        std::int32_t entry;
        if (b < 0x80) {
            entry = table[row + b];
            if (entry < 0) break;
            ++p;
        } else {
            const TWideStep step = StepWide(text, p, row);
            entry = step.entry;
            if (entry < 0) break;
            p += step.length;
        }
        row = entry & TPatDFA::kRowMask;
        if (entry & TPatDFA::kFinalTag) last = p;
        const int s = row >> 8;
        if (deadEnds_.Contains(p, s)) {
            merged = true;
            break;
        }
        deadEnds_.Record(p, s);
    }
    return last;
}

std::optional<TPatMatch> TPlainScanner::Find(std::string_view text, std::size_t from) {
    const std::size_t n = text.size();
    if (from >= n) {
        if (from == n && plan_.startFinal) return TPatMatch{n, n};
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t pos = from;
    while (pos < n) {
        // A byte at which no match can begin is passed over without running the automaton
        // (the common case in long texts).
        if (!plan_.startFinal) {
            pos = Skip(bytes, pos, n);
            if (pos == n) break;
        }
        bool merged = false;
        const std::size_t end = Walk(text, pos, merged);
        if (end != kNoEnd) {
            deadEnds_.DropWalk();
            return TPatMatch{pos, end};
        }
        deadEnds_.EndFailedWalk(merged);
        pos += bytes[pos] < 0x80 ? 1 : codec_.Length(text, pos);
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
