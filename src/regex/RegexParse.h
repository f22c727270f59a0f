// From pattern text to parse tree: the preprocessor (dictionary expansion), the tree with
// its node and leaf lists, and the recursive-descent parser.
//
// Grammar (left to right, lowest binding first):
//   expression = term { "|" term }
//   term       = nothing | factor { factor }
//   factor     = primary [ "*" | "+" | "?" ]
//   primary    = character | "(" expression ")" | "[" members "]" | "[^" members "]"
//              | "." | "^" | "$"
// "a+" becomes the concatenation of a and a closure of the same subtree a, and "a?" the union
// of a and the empty node. After parsing, the character-range leaves are made pairwise
// disjoint, so that equal conditions in the automaton are equal ranges.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexChars.h"
#include "regex/RegexScanner.h"

namespace tallyon {

// Expands fuzzy-character and synonym dictionary entries into alternations before parsing.
// No dictionary ships with the program, so the text always comes back unchanged; the two
// switches are kept so that callers can state their wish.
class TPatPreProcessor {
public:
    bool UseFuzzyDictionary = false;
    bool UseSynonymDictionary = false;
    std::string Process(std::string_view pattern) const { return std::string(pattern); }
};

enum class TNodeKind {
    nkRange,     // a character-range leaf
    nkLineHead,  // "^"
    nkLineTail,  // "$"
    nkConcat,    // left then right
    nkUnion,     // left or right
    nkClosure,   // zero or more of left
    nkEmpty,     // matches the empty text
    nkNever,     // matches nothing (a class whose members leave no character)
};

struct TPatNode {
    TNodeKind kind = TNodeKind::nkEmpty;
    int left = -1;   // child node (concatenation, union, closure)
    int right = -1;  // second child node (concatenation, union)
    int leaf = -1;   // index into the leaf list (range leaf)
};

// Owns every node of one tree and every range leaf; nodes refer to each other and to
// leaves by index, so a subtree may be shared (as "+" does).
class TPatParseTree {
public:
    int AddNode(TNodeKind kind, int left = -1, int right = -1);
    // A range leaf node; the range is clipped to the text codes, and a range wholly above
    // them gives a node that matches nothing.
    int AddRange(TCodeRange range, TCharCode maxTextCode);
    // The union of range leaves for sorted, disjoint ranges (nkNever when there are none).
    int AddRanges(const std::vector<TCodeRange>& ranges, TCharCode maxTextCode);

    // Splits overlapping leaves into their pieces so that any two distinct leaves are
    // disjoint; a leaf node that covers several pieces becomes the union of them. The
    // characters "^" and "$" get leaves of their own when the tree holds anchors, since the
    // automaton may read an anchor as that character. Raises EPatternError(kTooComplex)
    // when the pieces would exceed `maxLeaves`.
    void MakeLeavesDisjoint(std::size_t maxLeaves, std::size_t errorPosition);

    const std::vector<TPatNode>& Nodes() const { return nodes_; }
    const std::vector<TCodeRange>& Leaves() const { return leaves_; }
    int Root() const { return root_; }
    // The leaf of the character "^" or "$" (-1 when the tree has no such anchor node).
    int CaretLeaf() const { return caretLeaf_; }
    int DollarLeaf() const { return dollarLeaf_; }
    void SetRoot(int root) { root_ = root; }

private:
    std::vector<TPatNode> nodes_;
    std::vector<TCodeRange> leaves_;
    int root_ = -1;
    int caretLeaf_ = -1;
    int dollarLeaf_ = -1;
};

class TPatParser {
public:
    // Groups may nest this deep; deeper raises EPatternError(kTooDeep).
    static constexpr int kMaxDepth = 500;
    // A tree may hold this many disjoint leaves; more raises EPatternError(kTooComplex).
    static constexpr std::size_t kMaxLeaves = 100000;

    TPatParser(std::string_view pattern, const TCharCodec& codec)
        : scanner_(pattern, codec), codec_(codec), length_(pattern.size()) {}

    // Parses the whole pattern into `tree` (disjoint leaves); raises EPatternError.
    void Parse(TPatParseTree& tree);

private:
    int Expression();
    int Term();
    int Factor();
    int Primary();
    int Class(bool negated);
    bool AtTermEnd() const;

    TPatScanner scanner_;
    const TCharCodec& codec_;
    std::size_t length_;
    TPatParseTree* tree_ = nullptr;
    int depth_ = 0;
};

}  // namespace tallyon
