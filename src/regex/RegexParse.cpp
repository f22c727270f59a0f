// Parse tree construction and the disjoint-leaf step (see RegexParse.h).
#include "regex/RegexParse.h"

#include <algorithm>

namespace tallyon {

namespace {
constexpr std::size_t kNoLeaf = static_cast<std::size_t>(-1);
}  // namespace

int TPatParseTree::AddNode(TNodeKind kind, int left, int right) {
    TPatNode node;
    node.kind = kind;
    node.left = left;
    node.right = right;
    nodes_.push_back(node);
    return static_cast<int>(nodes_.size()) - 1;
}

int TPatParseTree::AddRange(TCodeRange range, TCharCode maxTextCode) {
    if (range.lo > maxTextCode) return AddNode(TNodeKind::nkNever);
    range.hi = std::min(range.hi, maxTextCode);
    leaves_.push_back(range);
    const int node = AddNode(TNodeKind::nkRange);
    nodes_[node].leaf = static_cast<int>(leaves_.size()) - 1;
    return node;
}

int TPatParseTree::AddRanges(const std::vector<TCodeRange>& ranges, TCharCode maxTextCode) {
    int result = -1;
    for (const TCodeRange& range : ranges) {
        const int leaf = AddRange(range, maxTextCode);
        result = result < 0 ? leaf : AddNode(TNodeKind::nkUnion, result, leaf);
    }
    return result < 0 ? AddNode(TNodeKind::nkNever) : result;
}

void TPatParseTree::MakeLeavesDisjoint(std::size_t maxLeaves, std::size_t errorPosition) {
    // Every leaf boundary (a start, or one past an end) cuts the code space; the pieces
    // between consecutive cuts that some leaf covers become the new leaves.
    std::size_t caret = kNoLeaf, dollar = kNoLeaf;
    for (const TPatNode& node : nodes_) {
        if (node.kind == TNodeKind::nkLineHead && caret == kNoLeaf) {
            caret = leaves_.size();
            leaves_.push_back({'^', '^'});
        }
        if (node.kind == TNodeKind::nkLineTail && dollar == kNoLeaf) {
            dollar = leaves_.size();
            leaves_.push_back({'$', '$'});
        }
    }
    std::vector<TCharCode> cuts;
    for (const TCodeRange& r : leaves_) {
        cuts.push_back(r.lo);
        cuts.push_back(r.hi + 1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    std::vector<TCodeRange> pieces;
    std::vector<int> pieceOfCut(cuts.size(), -1);  // piece that starts at cuts[i], if any
    std::size_t total = 0;
    for (const TCodeRange& r : leaves_) {
        const auto first = std::lower_bound(cuts.begin(), cuts.end(), r.lo) - cuts.begin();
        const auto last = std::lower_bound(cuts.begin(), cuts.end(), r.hi + 1) - cuts.begin();
        total += static_cast<std::size_t>(last - first);
        if (total > maxLeaves) throw EPatternError(PatternMessage::kTooComplex, errorPosition);
        for (auto i = first; i < last; ++i) {
            if (pieceOfCut[i] < 0) {
                pieceOfCut[i] = static_cast<int>(pieces.size());
                pieces.push_back({cuts[i], cuts[i + 1] - 1});
            }
        }
    }

    auto pieceOf = [&](TCharCode c) {
        return pieceOfCut[std::lower_bound(cuts.begin(), cuts.end(), c) - cuts.begin()];
    };
    if (caret != kNoLeaf) caretLeaf_ = pieceOf('^');
    if (dollar != kNoLeaf) dollarLeaf_ = pieceOf('$');
    const std::vector<TCodeRange> old = std::move(leaves_);
    leaves_ = std::move(pieces);
    const std::size_t count = nodes_.size();
    for (std::size_t n = 0; n < count; ++n) {
        if (nodes_[n].kind != TNodeKind::nkRange) continue;
        const TCodeRange r = old[nodes_[n].leaf];
        const auto first = std::lower_bound(cuts.begin(), cuts.end(), r.lo) - cuts.begin();
        const auto last = std::lower_bound(cuts.begin(), cuts.end(), r.hi + 1) - cuts.begin();
        if (last - first == 1) {
            nodes_[n].leaf = pieceOfCut[first];
            continue;
        }
        int chain = -1;
        for (auto i = first; i < last; ++i) {
            const int node = AddNode(TNodeKind::nkRange);
            nodes_[node].leaf = pieceOfCut[i];
            chain = chain < 0 ? node : AddNode(TNodeKind::nkUnion, chain, node);
        }
        // The former leaf becomes the union of its pieces, in place, so that every parent
        // (including one shared through "+") sees the change.
        nodes_[n] = nodes_[chain];
    }
}

void TPatParser::Parse(TPatParseTree& tree) {
    tree_ = &tree;
    scanner_.Next();
    const int root = Expression();
    if (scanner_.Token().kind != TTokenKind::tkEnd) scanner_.Fail(PatternMessage::kExtraText);
    tree.SetRoot(root);
    tree.MakeLeavesDisjoint(kMaxLeaves, length_ + 1);
}

bool TPatParser::AtTermEnd() const {
    const TTokenKind kind = scanner_.Token().kind;
    return kind == TTokenKind::tkUnion || kind == TTokenKind::tkCloseGroup ||
           kind == TTokenKind::tkEnd;
}

int TPatParser::Expression() {
    int result = Term();
    while (scanner_.Token().kind == TTokenKind::tkUnion) {
        scanner_.Next();
        const int right = Term();
        result = tree_->AddNode(TNodeKind::nkUnion, result, right);
    }
    return result;
}

int TPatParser::Term() {
    if (AtTermEnd()) return tree_->AddNode(TNodeKind::nkEmpty);
    int result = Factor();
    while (!AtTermEnd()) {
        const int right = Factor();
        result = tree_->AddNode(TNodeKind::nkConcat, result, right);
    }
    return result;
}

int TPatParser::Factor() {
    const int primary = Primary();
    switch (scanner_.Token().kind) {
        case TTokenKind::tkStar:
            scanner_.Next();
            return tree_->AddNode(TNodeKind::nkClosure, primary);
        case TTokenKind::tkPlus: {
            scanner_.Next();
            const int closure = tree_->AddNode(TNodeKind::nkClosure, primary);
            return tree_->AddNode(TNodeKind::nkConcat, primary, closure);
        }
        case TTokenKind::tkOptional: {
            scanner_.Next();
            const int empty = tree_->AddNode(TNodeKind::nkEmpty);
            return tree_->AddNode(TNodeKind::nkUnion, primary, empty);
        }
        default:
            return primary;
    }
}

int TPatParser::Primary() {
    const TPatToken token = scanner_.Token();
    switch (token.kind) {
        case TTokenKind::tkChar: {
            scanner_.Next();
            return tree_->AddRange({token.lo, token.lo}, codec_.MaxTextCode());
        }
        case TTokenKind::tkOpenGroup: {
            if (++depth_ > kMaxDepth) scanner_.Fail(PatternMessage::kTooDeep);
            scanner_.Next();
            const int inner = Expression();
            if (scanner_.Token().kind != TTokenKind::tkCloseGroup) {
                scanner_.Fail(PatternMessage::kNoCloseParen);
            }
            --depth_;
            scanner_.Next();
            return inner;
        }
        case TTokenKind::tkOpenClass:
            return Class(false);
        case TTokenKind::tkOpenNegClass:
            return Class(true);
        case TTokenKind::tkAny:
            scanner_.Next();
            return tree_->AddRanges(codec_.AnyCharRanges(), codec_.MaxTextCode());
        case TTokenKind::tkLineHead:
            scanner_.Next();
            return tree_->AddNode(TNodeKind::nkLineHead);
        case TTokenKind::tkLineTail:
            scanner_.Next();
            return tree_->AddNode(TNodeKind::nkLineTail);
        default:
            scanner_.Fail(PatternMessage::kNeedPrimary);
    }
}

int TPatParser::Class(bool negated) {
    std::vector<TCodeRange> members;
    for (;;) {
        const TPatToken& token = scanner_.Next();
        if (token.kind == TTokenKind::tkCloseClass) break;
        if (token.kind != TTokenKind::tkChar && token.kind != TTokenKind::tkRange) {
            scanner_.Fail(PatternMessage::kNoCloseBracket);
        }
        members.push_back({token.lo, token.hi});
    }
    if (members.empty()) scanner_.Fail(PatternMessage::kBadClass);
    scanner_.Next();
    if (!negated) {
        int result = -1;
        for (const TCodeRange& member : members) {
            const int leaf = tree_->AddRange(member, codec_.MaxTextCode());
            result = result < 0 ? leaf : tree_->AddNode(TNodeKind::nkUnion, result, leaf);
        }
        return result;
    }
    // The any-character set minus every member: walk the sorted members over the set.
    std::sort(members.begin(), members.end(),
              [](const TCodeRange& a, const TCodeRange& b) { return a.lo < b.lo; });
    std::vector<TCodeRange> rest;
    for (TCodeRange range : codec_.AnyCharRanges()) {
        TCharCode from = range.lo;
        bool open = true;
        for (const TCodeRange& m : members) {
            if (m.hi < from || m.lo > range.hi) continue;
            if (m.lo > from) rest.push_back({from, m.lo - 1});
            if (m.hi >= range.hi) {
                open = false;
                break;
            }
            from = std::max(from, m.hi + 1);
        }
        if (open && from <= range.hi) rest.push_back({from, range.hi});
    }
    return tree_->AddRanges(rest, codec_.MaxTextCode());
}

}  // namespace tallyon
