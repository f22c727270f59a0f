// Fuzzes the pattern engine. The input is split into a pattern, a replacement and a text:
// byte 0 holds flags (bit 0: LF instead of CR LF as line separator; bit 1: UTF-8 instead of
// Shift-JIS), byte 1 the pattern's length, byte 2 the replacement's length, and the rest is
// the pattern, the replacement and the text. Each input is compiled and substituted in the
// encoding its flags choose: one encoding per input halves the work of each, and the other
// is one mutation away.
//
// The automaton bounds are lowered far below the production ones, so that a pattern with a
// huge automaton is refused after little work; the seed corpus holds, in both encodings, a
// pattern that reaches each bound alone (states, transitions, work).
//
// Invariants checked beyond "no crash, no undefined behaviour, no leak":
// - compiling raises nothing but EPatternError, and a failed compile leaves the empty
//   pattern current;
// - when the chosen search finds nothing, the substitution makes no replacement and
//   leaves the text unchanged, and when it finds a match the substitution makes one;
// - every match starts and ends on a character boundary;
// - in UTF-8 mode, a well-formed text and replacement give a well-formed result.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

// A search is quadratic in the worst case (a long probe past every short match, as ".+x|."
// makes on a text without x); longer texts only slow the fuzzer down without reaching new
// code. Likewise a pattern of a few dozen bytes already reaches every automaton bound below,
// and compiling a longer one only costs time.
constexpr std::size_t kMaxText = 256;
constexpr std::size_t kMaxPattern = 64;

// Room for every ordinary pattern of a few pieces; exponential ones hit a bound quickly.
constexpr TDfaBounds kFuzzBounds{.states = 32, .transitions = 128, .work = 5000};

void Check(bool condition) {
    if (!condition) std::abort();
}

// Independent UTF-8 well-formedness check (RFC 3629).
bool WellFormedUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t need;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + need >= s.size()) return false;
        for (std::size_t k = 1; k <= need; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if (c < lo || c > hi) return false;
            lo = 0x80;
            hi = 0xBF;
        }
        i += need + 1;
    }
    return true;
}

void Exercise(TTextEncoding encoding, TLineSeparator separator, std::string_view pattern,
              std::string_view replacement, std::string_view text) {
    TPatternString engine(encoding);
    engine.SetLineSeparator(separator);
    engine.SetAutomatonBounds(kFuzzBounds);
    try {
        engine.SetRegExp(pattern);
    } catch (const EPatternError& e) {
        Check(engine.CurrentIndex() == 0 && engine.RegExp().empty());
        Check(e.Position() >= 1 && e.Position() <= pattern.size() + 1);
        return;
    }

    // Character boundaries of the text, and matches from each of them.
    std::string boundary(text.size() + 1, 0);
    for (std::size_t pos = 0; pos < text.size(); pos += engine.Codec().Length(text, pos)) {
        boundary[pos] = 1;
    }
    boundary[text.size()] = 1;
    // Walk the text match by match, as the substitution does, checking each search.
    for (std::size_t from = 0; from <= text.size();) {
        const auto match = engine.Search(text, from);
        for (const auto& found : {match, engine.MidLineSearch(text, from)}) {
            if (!found) continue;
            Check(found->start >= from && found->start <= found->end);
            Check(found->end <= text.size());
            Check(boundary[found->start] && boundary[found->end]);
        }
        if (!match) break;
        if (match->end > from) {
            from = match->end;
        } else if (from < text.size()) {
            from += engine.Codec().Length(text, from);
        } else {
            break;
        }
    }

    std::string result(text);
    int count = 0;
    try {
        count = engine.GSub(replacement, result);
    } catch (const EPatternError&) {
        Check(result == text);
        return;
    }
    const bool found = engine.Search(text, 0).has_value();
    Check(found == (count > 0));
    if (count == 0) Check(result == text);
    if (encoding == TTextEncoding::teUtf8 && WellFormedUtf8(text) && WellFormedUtf8(replacement)) {
        Check(WellFormedUtf8(result));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const TLineSeparator separator = (data[0] & 1) ? TLineSeparator::lsLF : TLineSeparator::lsCRLF;
    std::size_t rest = size - 3;
    const std::size_t patternLength = std::min<std::size_t>({data[1], rest, kMaxPattern});
    rest -= patternLength;
    const std::size_t replacementLength = std::min<std::size_t>(data[2], rest);
    rest -= replacementLength;
    const std::string_view pattern = input.substr(3, patternLength);
    const std::string_view replacement = input.substr(3 + patternLength, replacementLength);
    const std::string_view text =
        input.substr(3 + patternLength + replacementLength, std::min(rest, kMaxText));
    const TTextEncoding encoding =
        (data[0] & 2) ? TTextEncoding::teUtf8 : TTextEncoding::teShiftJis;
    Exercise(encoding, separator, pattern, replacement, text);
    return 0;
}
