// The scanner: turns the component's expression into its term list.
//
// The text is folded to upper case (ASCII letters only) and trimmed of characters with codes
// up to 32. Then, repeatedly, the first position of the remaining text where an operator or a
// space stands ends the current token:
//   - at the first position every operator may match; a function name only when no letter
//     follows it ("SIN2" is SIN and 2, "SINX" is a name);
//   - further on only operators that do not begin with a letter can match, so names and
//     numbers may contain letters and digits freely;
//   - in a token that starts with a digit or ".", a "+" or "-" right after "E" belongs to the
//     number's exponent ("1.5E-3");
//   - only the space separates; tabs and other control characters belong to the token.
// The operator table is tried longest first, through its index by first character, so each
// position costs a handful of comparisons and the whole scan runs in time proportional to the
// length of the text. Numeric tokens are read at once; names stay text until bound.
//
// Two passes follow: a name directly followed by "[" becomes an array name (200) and one
// followed by "(" a user-function name (300); then "*" is inserted wherever two operands, or
// an operand and a bracket or function, stand side by side ("2 X", "2(3)", "(1)(2)").
#include <utility>

#include "engine/AsciiText.h"
#include "engine/MathFault.h"
#include "engine/TinyParseEngine.h"

namespace tallyon {

namespace {

// A term that stands for a value or a name once it is found between operators.
void AddToken(TTrmList& terms, std::string_view token, bool numeric) {
    token = TrimBlanks(token);
    if (numeric) {
        const double value = StoreDouble(RuvoStrToFloat(token));
        terms.AddTerm(kKindOperand, token, value);
    } else {
        terms.AddTerm(kKindUnbound, token, 0);
    }
}

// True when "*" is implied between two adjacent terms.
bool ImpliesMultiply(const TTerm& left, const TTerm& right) {
    const bool rightIsOperand =
        right.Kind <= 0 || right.Kind == kKindArrayName || right.Kind == kPriorityFunction;
    if (left.Kind == kKindOperand || left.Is(')') || left.Is(']')) {
        return rightIsOperand || right.Is('(');
    }
    return left.Kind < 0 && rightIsOperand;
}

}  // namespace

void TTinyParser::Tokenize() {
    resultText_.clear();
    errorCode_ = TErrorCode::None;
    terms_.Clear();

    scanText_.assign(expression_);
    AsciiUpperInPlace(scanText_);
    const std::string_view text = scanText_;
    const TOpeList& table = *table_;

    size_t begin = 0;
    size_t end = text.size();
    while (end > begin && IsBlankCode(text[end - 1]))
        --end;
    while (begin < end && IsBlankCode(text[begin]))
        ++begin;

    while (begin < end) {
        const char first = text[begin];
        const bool numeric = (first >= '0' && first <= '9') || first == '.';
        const std::string_view rest = text.substr(begin, end - begin);

        // Search the first position holding an operator or a separating space.
        size_t at = rest.size();
        const TOpeList::TEntry* found = nullptr;
        for (size_t i = 0; i < rest.size(); ++i) {
            const char c = rest[i];
            if (i > 0) {
                if (c == ' ') {
                    at = i;
                    break;
                }
                // Function names only count at the start of the remaining text.
                if (IsUpperLetter(c)) continue;
                if (numeric && (c == '+' || c == '-') && rest[i - 1] == 'E') continue;
            }
            found = table.EntryAt(rest, i);
            if (found != nullptr) {
                at = i;
                break;
            }
        }

        if (at > 0) AddToken(terms_, rest.substr(0, at), numeric);
        if (at == rest.size()) break;
        if (found != nullptr) {
            terms_.AddTerm(found->Priority, found->Text, 0);
            begin += at + found->Text.size();
        } else {
            begin += at + 1;
        }
        while (begin < end && IsBlankCode(text[begin]))
            ++begin;
    }

    // Mark names used as arrays or user functions; the last term is never examined.
    std::vector<TTerm>& items = terms_.Items();
    for (size_t i = 1; i + 1 < items.size(); ++i) {
        if (items[i - 1].Kind != kKindUnbound) continue;
        if (items[i].Is('[')) {
            items[i - 1].Kind = kKindArrayName;
        } else if (items[i].Is('(')) {
            items[i - 1].Kind = kKindUserFunction;
        }
    }

    // Insert the implied "*". Each decision looks only at two terms of the scanned list, so
    // one pass that counts and one that spreads the terms out replace repeated insertions.
    size_t inserts = 0;
    for (size_t i = 1; i < items.size(); ++i) {
        if (ImpliesMultiply(items[i - 1], items[i])) ++inserts;
    }
    if (inserts == 0) return;
    const size_t oldCount = items.size();
    std::vector<char> before(oldCount, 0);
    for (size_t i = 1; i < oldCount; ++i)
        before[i] = ImpliesMultiply(items[i - 1], items[i]);
    items.resize(oldCount + inserts);
    size_t out = items.size();
    for (size_t i = oldCount; i-- > 0;) {
        if (out - 1 == i) break;  // no insertion below: the rest is already in place
        items[--out] = std::move(items[i]);
        if (before[i]) {
            TTerm& star = items[--out];
            star.Args.clear();
            star.Kind = kPriorityMultiply;
            star.Index = 0;
            star.Value = 0;
            star.Text.assign(1, '*');
        }
    }
}

}  // namespace tallyon
