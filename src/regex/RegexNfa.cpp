// Thompson's construction over the parse tree (see RegexNfa.h). The tree is walked with an
// explicit work list, so a long pattern (a deep chain of concatenations) cannot exhaust
// the call stack.
#include "regex/RegexNfa.h"

#include <stdexcept>

namespace tallyon {

int TPatNFA::NewState() {
    if (states_.size() >= kMaxStates) {
        throw EPatternError(PatternMessage::kTooComplex, errorPosition_);
    }
    states_.emplace_back();
    return static_cast<int>(states_.size()) - 1;
}

void TPatNFA::Add(int from, int to, int condition) {
    if (++transitions_ > kMaxTransitions) {
        throw EPatternError(PatternMessage::kTooComplex, errorPosition_);
    }
    states_[from].out.push_back({condition, to});
}

void TPatNFA::GenerateStateList(const TPatParseTree& tree, const TCharCodec& codec,
                                std::size_t errorPosition) {
    states_.clear();
    transitions_ = 0;
    errorPosition_ = errorPosition;
    beginsWithLineHead_ = endsWithLineTail_ = false;
    initial_ = NewState();
    final_ = NewState();
    conditions_ = tree.Leaves();
    const int lineHead = static_cast<int>(conditions_.size());
    const int lineTail = lineHead + 1;
    conditions_.push_back({codec.LineHeadCode(), codec.LineHeadCode()});
    conditions_.push_back({codec.LineTailCode(), codec.LineTailCode()});
    constexpr int kEpsilon = -1;

    struct Work {
        int node, from, to;
    };
    std::vector<Work> work{{tree.Root(), initial_, final_}};
    while (!work.empty()) {
        const Work w = work.back();
        work.pop_back();
        if (w.node < 0 || static_cast<std::size_t>(w.node) >= tree.Nodes().size()) {
            throw std::logic_error("TPatParseTree : 致命的エラー");
        }
        const TPatNode& node = tree.Nodes()[w.node];
        switch (node.kind) {
            case TNodeKind::nkRange:
                Add(w.from, w.to, node.leaf);
                break;
            case TNodeKind::nkLineHead:
                if (w.from == initial_) {
                    Add(w.from, w.to, lineHead);
                    beginsWithLineHead_ = true;
                } else {
                    Add(w.from, w.to, tree.CaretLeaf());
                }
                break;
            case TNodeKind::nkLineTail:
                if (w.to == final_) {
                    Add(w.from, w.to, lineTail);
                    endsWithLineTail_ = true;
                } else {
                    Add(w.from, w.to, tree.DollarLeaf());
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
                Add(w.from, enter, kEpsilon);
                Add(leave, enter, kEpsilon);
                Add(enter, w.to, kEpsilon);
                work.push_back({node.left, enter, leave});
                break;
            }
            case TNodeKind::nkEmpty:
                Add(w.from, w.to, kEpsilon);
                break;
            case TNodeKind::nkNever:
                break;
            default:
                throw std::logic_error("This cannot happen in TPatNFA.GenerateStateList");
        }
    }
}

}  // namespace tallyon
