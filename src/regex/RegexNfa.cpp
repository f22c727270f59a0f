// Thompson's construction over the parse tree (see RegexNfa.h). The tree is walked with an
// explicit work list, so a long pattern (a deep chain of concatenations) cannot exhaust
// the call stack.
#include "regex/RegexNfa.h"

#include <stdexcept>

int TPatNFA::NewState() {
    if (states_.size() >= kMaxStates) {
        throw EPatternError(PatternMessage::kTooComplex, errorPosition_);
    }
    states_.emplace_back();
    return static_cast<int>(states_.size()) - 1;
}

void TPatNFA::Add(int from, int to, TCodeRange range, bool epsilon) {
    if (++transitions_ > kMaxTransitions) {
        throw EPatternError(PatternMessage::kTooComplex, errorPosition_);
    }
    states_[from].out.push_back({range, to, epsilon});
}

void TPatNFA::GenerateStateList(const TPatParseTree& tree, const TCharCodec& codec,
                                std::size_t errorPosition) {
    states_.clear();
    transitions_ = 0;
    errorPosition_ = errorPosition;
    beginsWithLineHead_ = endsWithLineTail_ = false;
    initial_ = NewState();
    final_ = NewState();

    struct Work {
        int node, from, to;
    };
    std::vector<Work> work{{tree.Root(), initial_, final_}};
    const TCodeRange none{0, 0};
    while (!work.empty()) {
        const Work w = work.back();
        work.pop_back();
        const TPatNode& node = tree.Nodes()[w.node];
        switch (node.kind) {
            case TNodeKind::nkRange:
                Add(w.from, w.to, tree.Leaves()[node.leaf], false);
                break;
            case TNodeKind::nkLineHead:
                if (w.from == initial_) {
                    Add(w.from, w.to, {codec.LineHeadCode(), codec.LineHeadCode()}, false);
                    beginsWithLineHead_ = true;
                } else {
                    Add(w.from, w.to, {'^', '^'}, false);
                }
                break;
            case TNodeKind::nkLineTail:
                if (w.to == final_) {
                    Add(w.from, w.to, {codec.LineTailCode(), codec.LineTailCode()}, false);
                    endsWithLineTail_ = true;
                } else {
                    Add(w.from, w.to, {'$', '$'}, false);
                }
                break;
            case TNodeKind::nkConcat: {
                const int middle = NewState();
                work.push_back({node.right, middle, w.to});
                work.push_back({node.left, w.from, middle});
                break;
            }
            case TNodeKind::nkUnion:
                work.push_back({node.right, w.from, w.to});
                work.push_back({node.left, w.from, w.to});
                break;
            case TNodeKind::nkClosure: {
                const int enter = NewState();
                const int leave = NewState();
                Add(w.from, enter, none, true);
                Add(leave, enter, none, true);
                Add(enter, w.to, none, true);
                work.push_back({node.left, enter, leave});
                break;
            }
            case TNodeKind::nkEmpty:
                Add(w.from, w.to, none, true);
                break;
            case TNodeKind::nkNever:
                break;
            default:
                throw std::logic_error("This cannot happen in TPatNFA.GenerateStateList");
        }
    }
}
