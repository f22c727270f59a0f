// Fuzzes the pattern engine. The input is split into a pattern, a replacement and a text:
// byte 0 holds flags (bit 0: LF instead of CR LF as line separator), byte 1 the pattern's
// length, byte 2 the replacement's length, and the rest is the pattern, the replacement and
// the text. Each input is compiled and substituted in Shift-JIS and in UTF-8 mode.
//
// The automaton bounds are lowered far below the production ones, so that a pattern with a
// huge automaton is refused after little work; the seed corpus holds a pattern for each
// bound (states, transitions, work).
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
// code.
constexpr std::size_t kMaxText = 1024;

// Room for every ordinary pattern of a few pieces; exponential ones hit a bound quickly.
constexpr TDfaBounds kFuzzBounds{.states = 64, .transitions = 256, .work = 20000};

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
    const std::size_t patternLength = std::min<std::size_t>(data[1], rest);
    rest -= patternLength;
    const std::size_t replacementLength = std::min<std::size_t>(data[2], rest);
    rest -= replacementLength;
    const std::string_view pattern = input.substr(3, patternLength);
    const std::string_view replacement = input.substr(3 + patternLength, replacementLength);
    const std::string_view text =
        input.substr(3 + patternLength + replacementLength, std::min(rest, kMaxText));
    Exercise(TTextEncoding::teShiftJis, separator, pattern, replacement, text);
    Exercise(TTextEncoding::teUtf8, separator, pattern, replacement, text);
    return 0;
}
