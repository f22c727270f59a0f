// The global substitution and the expansion of its replacement text.
//
// The replacement is prepared once per call: its escapes are resolved (a backslash before
// "&" is kept as it stands), then "&" becomes a slot for the matched text, "\&" a literal
// "&", and everything else literal bytes. The text is then walked match by match; an empty
// match copies the character at its position (CR and the character after it together with
// lsCRLF) so the walk always advances, and the next search knows whether a line starts
// there.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "regex/DfaRegExp.h"
#include "regex/PlainScanner.h"
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

// The result text of a substitution, written through a pointer. The buffer keeps kSlack
// spare bytes beyond what is written, so that a short piece is copied as one fixed-size
// block (a few instructions) instead of through a library call per match.
class TOutput {
public:
    static constexpr std::size_t kBlock = 16;

    explicit TOutput(std::size_t expected) { buffer_.resize(expected + kSlack); }
    // Appends `length` bytes from `from`; `readable` bytes are readable there (>= length).
    void Append(const char* from, std::size_t length, std::size_t readable) {
        Room(length);
        char* to = buffer_.data() + used_;
        if (length <= kBlock && readable >= kBlock) {
            std::memcpy(to, from, kBlock);
        } else {
            std::memcpy(to, from, length);
        }
        used_ += length;
    }
    std::string Take() {
        buffer_.resize(used_);
        return std::move(buffer_);
    }

private:
    static constexpr std::size_t kSlack = 2 * kBlock;

    void Room(std::size_t length) {
        if (buffer_.size() - used_ < length + kSlack) {
            buffer_.resize(std::max(buffer_.size() * 2, used_ + length + kSlack));
        }
    }

    std::string buffer_;
    std::size_t used_ = 0;
};

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
    std::size_t pos = 0;  // start of the rest not yet copied
    int count = 0;
    // The usual replacement is one literal text: copied without walking the pieces, from
    // a block with room for a fixed-size copy.
    const bool literalOnly = pieces.size() == 1 && !pieces[0].matched;
    std::string literal = literalOnly ? pieces[0].bytes : std::string();
    const std::size_t literalLength = literal.size();
    literal.resize(std::max(literalLength, TOutput::kBlock));
    TPlainScanner scanner(CurrentScanPlan(), dfa, Codec());

    // A literal replacement no longer than the match it replaces is written over the text
    // itself, behind the search: what is written never reaches the rest still to be read.
    // A match shorter than the replacement, or empty, hands the work over to a separate
    // result below, with the part written so far.
    std::size_t written = 0;  // bytes of the result at the front of `text`
    if (literalOnly && !anchored) {
        char* data = text.data();
        constexpr std::size_t kBlock = TOutput::kBlock;
        for (;;) {
            if (match->end - match->start < std::max<std::size_t>(literalLength, 1)) break;
            // The span before the match moves down; a short one as a fixed-size block when
            // the block lands wholly on bytes already read.
            const std::size_t span = match->start - pos;
            if (written != pos) {
                if (span <= kBlock && pos - written >= kBlock && n - pos >= kBlock) {
                    std::memcpy(data + written, data + pos, kBlock);
                } else {
                    std::memmove(data + written, data + pos, span);
                }
            }
            written += span;
            if (match->end - written >= kBlock) {
                std::memcpy(data + written, literal.data(), kBlock);
            } else {
                std::memcpy(data + written, literal.data(), literalLength);
            }
            written += literalLength;
            ++count;
            pos = match->end;
            if (pos >= n || !(match = scanner.Find(source, pos))) {
                std::memmove(data + written, data + pos, n - pos);
                text.resize(written + (n - pos));
                return count;
            }
        }
    }

    TOutput result(n);
    result.Append(text.data(), written, n);
    // Copies source bytes [from, from + length).
    auto copy = [&](std::size_t from, std::size_t length) {
        result.Append(source.data() + from, length, n - from);
    };
    std::string expanded;
    for (;;) {
        copy(pos, match->start - pos);
        if (literalOnly) {
            result.Append(literal.data(), literalLength, literal.size());
        } else {
            expanded.clear();
            Expand(pieces, source.substr(match->start, match->end - match->start), expanded);
            result.Append(expanded.data(), expanded.size(), expanded.size());
        }
        std::size_t next = match->end;
        if (match->start == match->end && next < n) {
            std::size_t length = Codec().Length(source, next);
            if (LineSeparator() == TLineSeparator::lsCRLF && source[next] == '\r' && next + 1 < n) {
                // CR travels with the character after it (the LF of a line break), taken
                // whole so that a double-byte character is never split.
                length += Codec().Length(source, next + 1);
            }
            copy(next, length);
            next += length;
        }
        ++count;
        pos = next;
        if (pos >= n) break;
        if (!anchored) {
            match = scanner.Find(source, pos);
        } else if (source[pos - 1] == '\n') {
            match = AnchoredSearch(source, pos);
        } else {
            match = MidLineSearch(source, pos);
        }
        if (!match) break;
    }
    copy(pos, n - pos);
    text = result.Take();
    return count;
}

}  // namespace tallyon
