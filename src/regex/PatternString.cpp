// The global substitution and the expansion of its replacement text.
//
// The replacement is prepared once per call: its escapes are resolved (a backslash before
// "&" is kept as it stands), then "&" becomes a slot for the matched text, "\&" a literal
// "&", and everything else literal bytes. The text is then walked match by match; an empty
// match copies the character at its position (CR and the character after it together with
// lsCRLF) so the walk always advances, and the next search knows whether a line starts
// there.
#include <vector>

#include "regex/DfaRegExp.h"
#include "regex/RegexScanner.h"

namespace tallyon {

namespace {

// One piece of an expanded replacement: literal bytes, or the matched text.
struct TReplacementPiece {
    bool matched = false;
    std::string bytes;
};

std::vector<TReplacementPiece> PrepareReplacement(std::string_view replacement,
                                                  const TCharCodec& codec) {
    struct Item {
        TCharCode code;
        std::string bytes;
    };
    // Escapes first.
    std::vector<Item> items;
    TPatCharReader reader(replacement, codec);
    while (!reader.AtEnd()) {
        const std::size_t from = reader.Offset();
        if (reader.PeekByte() == '\\') {
            reader.ReadRaw();
            if (!reader.AtEnd() && reader.PeekByte() == '&') {
                reader.ReadRaw();
                items.push_back({'\\', "\\"});
                items.push_back({'&', "&"});
                continue;
            }
            Item item{reader.ReadEscape(), {}};
            codec.Encode(item.code, item.bytes);
            items.push_back(std::move(item));
            continue;
        }
        const TCharCode code = reader.ReadRaw();
        items.push_back({code, std::string(replacement.substr(from, reader.Offset() - from))});
    }
    // Then the ampersands.
    std::vector<TReplacementPiece> pieces;
    auto literal = [&](std::string_view bytes) {
        if (pieces.empty() || pieces.back().matched) pieces.emplace_back();
        pieces.back().bytes += bytes;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].code == '\\' && i + 1 < items.size() && items[i + 1].code == '&') {
            literal("&");
            ++i;
        } else if (items[i].code == '&') {
            pieces.push_back({true, {}});
        } else {
            literal(items[i].bytes);
        }
    }
    return pieces;
}

void Expand(const std::vector<TReplacementPiece>& pieces, std::string_view matched,
            std::string& out) {
    for (const TReplacementPiece& piece : pieces) {
        out += piece.matched ? matched : std::string_view(piece.bytes);
    }
}

}  // namespace

std::optional<TPatMatch> TPatternString::Search(std::string_view text, std::size_t from) const {
    const TPatDFA& dfa = CurrentDfa();
    if (dfa.BeginsWithLineHead() || dfa.EndsWithLineTail()) return AnchoredSearch(text, from);
    return PlainSearch(text, from);
}

int TPatternString::GSub(std::string_view replacement, std::string& text) const {
    const TPatDFA& dfa = CurrentDfa();
    const bool anchored = dfa.BeginsWithLineHead() || dfa.EndsWithLineTail();
    std::optional<TPatMatch> match = Search(text, 0);
    if (!match) return 0;
    const std::vector<TReplacementPiece> pieces = PrepareReplacement(replacement, Codec());
    if (text.empty()) {
        std::string result;
        Expand(pieces, {}, result);
        text = std::move(result);
        return 1;
    }

    const std::string_view source = text;
    const std::size_t n = source.size();
    std::string result;
    result.reserve(n);
    std::size_t pos = 0;  // start of the rest not yet copied
    int count = 0;
    for (;;) {
        result.append(source, pos, match->start - pos);
        Expand(pieces, source.substr(match->start, match->end - match->start), result);
        std::size_t next = match->end;
        if (match->start == match->end && next < n) {
            std::size_t length = Codec().Length(source, next);
            if (LineSeparator() == TLineSeparator::lsCRLF && source[next] == '\r' && next + 1 < n) {
                // CR travels with the character after it (the LF of a line break), taken
                // whole so that a double-byte character is never split.
                length += Codec().Length(source, next + 1);
            }
            result.append(source, next, length);
            next += length;
        }
        ++count;
        pos = next;
        if (pos >= n) break;
        if (!anchored) {
            match = PlainSearch(source, pos);
        } else if (source[pos - 1] == '\n') {
            match = AnchoredSearch(source, pos);
        } else {
            match = MidLineSearch(source, pos);
        }
        if (!match) break;
    }
    result.append(source, pos);
    text = std::move(result);
    return count;
}

}  // namespace tallyon
