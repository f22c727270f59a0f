// What the plain search knows of an automaton before it reads any text: the bytes at which a
// match can begin, and the filters that find them a word at a time. It depends only on the
// automaton and the encoding, so it is worked out once when a pattern is compiled and kept
// with it; every search of that pattern starts from it.
//
// An ASCII byte on which the start state has no step never begins a match, and in UTF-8,
// when the start state steps on no code above 0x7F, neither does any byte of a multi-byte
// character or a stray byte. Shift-JIS trail bytes can be ASCII, so there every byte above
// 0x7F may begin a walk. A set of up to four ASCII bytes (such as blank and TAB) is looked
// for a word of eight bytes at a time, together with the bytes that can follow one of them
// in a match, and the bytes that can follow those.
#pragma once

#include <cstdint>

#include "regex/RegexChars.h"
#include "regex/RegexDfa.h"

namespace tallyon {

struct TScanPlan {
    TScanPlan() = default;
    TScanPlan(const TPatDFA& dfa, const TCharCodec& codec);

    bool startFinal = false;  // the empty text matches
    int singleFirst = -1;     // the only byte that can begin a match, or -1
    // The ASCII beginning bytes repeated over a word each, and whether every byte above 0x7F
    // begins a walk.
    std::uint64_t wordBytes[4] = {};
    int wordByteCount = -1;  // -1 when the set is too large for the word-wise search
    bool wordHigh = false;
    // When no single byte is a match, a beginning byte must also be followed by a byte the
    // state after it steps on; a few such second bytes are looked for in the same word.
    std::uint64_t secondBytes[4] = {};
    bool secondFilter = false;
    // And when no two bytes are a match either, the third byte must be one the states after
    // two bytes step on (looked for sixteen bytes at a time only).
    std::uint64_t thirdBytes[4] = {};
    bool thirdFilter = false;
    bool begins[256] = {};  // bytes at which a walk must be tried

private:
    void SetUpFollowFilters(const TPatDFA& dfa, const TCharCodec& codec);
};

}  // namespace tallyon
