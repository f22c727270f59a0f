// The plain (unanchored) search loop, kept apart so that the global substitution can run
// it match after match over one text without setting it up again for every match.
//
// The search slides over bytes at which no match can begin (see ScanPlan.h) without running
// the automaton; with a single possible first byte it jumps with memchr, and with a few it
// looks at eight bytes at a time. Shift-JIS trail bytes can be ASCII, so there a byte above
// 0x7F stops the slide and the search advances whole characters from it. The walk itself
// steps ASCII bytes through the dense table and decodes only bytes above 0x7F.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/DfaRegExp.h"
#include "regex/ScanPlan.h"

namespace tallyon {

// The trajectory of a failed walk: the state it was in at each position it passed. The
// plain search tries start positions one after another and every walk before the first
// match fails, so a later walk that reaches the same state at the same position as a
// failed one can stop there: it would fail the same way. Walks from neighbouring starts
// usually merge within a few characters, which keeps a long run that almost matches (a
// megabyte of blanks and no comma) linear instead of quadratic. Only positions more
// than kRecordAfter bytes past a walk's start are recorded and checked, so short walks pay
// nothing. A failed trajectory
// depends only on the text and the automaton, so it stays valid for every later search
// of the same text.
class TDeadEnds {
public:
    static constexpr std::size_t kRecordAfter = 16;
    static constexpr std::size_t kNoPos = std::string_view::npos;

    // True when the state at `pos` lies on the kept failed trajectory.
    bool Contains(std::size_t pos, int state) const {
        return pos >= base_ && pos - base_ < dead_.size() && dead_[pos - base_] == state;
    }
    // Records the current walk's state at `pos` (positions strictly increase in a walk).
    void Record(std::size_t pos, int state) {
        if (walkBase_ == kNoPos) walkBase_ = pos;
        walk_.resize(pos - walkBase_, -1);  // -1 marks the inner bytes of a character
        walk_.push_back(state);
    }
    // The current walk failed. Unless it stopped on the kept trajectory (which then still
    // reaches further), what it recorded becomes the kept trajectory; the next walk starts
    // with nothing recorded.
    void EndFailedWalk(bool merged) {
        if (walkBase_ == kNoPos) return;
        if (!merged) {
            dead_.swap(walk_);
            base_ = walkBase_;
        }
        walk_.clear();
        walkBase_ = kNoPos;
    }
    // The current walk found a match: what it recorded is not a failed trajectory.
    void DropWalk() {
        walk_.clear();
        walkBase_ = kNoPos;
    }

private:
    std::vector<int> dead_;  // state at position base_ + i of the kept failed walk
    std::size_t base_ = 0;
    std::vector<int> walk_;  // the current walk's recorded states from walkBase_
    std::size_t walkBase_ = kNoPos;
};

class TPlainScanner {
public:
    // `dfa` and `codec` must outlive the scanner; `plan` is the automaton's, copied.
    TPlainScanner(const TScanPlan& plan, const TPatDFA& dfa, const TCharCodec& codec)
        : dfa_(dfa), codec_(codec), table_(dfa.Table()), plan_(plan) {}

    // The leftmost-longest match at or after `from`, as TPatternMatcher::PlainSearch. Every
    // call on one scanner must pass the same text (the dead ends and the block of candidates
    // are positions in it); the text may change only before the end of the last match.
    std::optional<TPatMatch> Find(std::string_view text, std::size_t from);

private:
    std::size_t Walk(std::string_view text, std::size_t pos, bool& merged);
    struct TWideStep {
        std::int32_t entry;  // as the tagged dense table holds
        std::size_t length;  // of the character stepped on
    };
    TWideStep StepWide(std::string_view text, std::size_t p, std::int32_t row) const;
    // The first position at or after `pos` whose byte can begin a match, or the end.
    std::size_t Skip(const unsigned char* bytes, std::size_t pos, std::size_t n);

    const TPatDFA& dfa_;
    const TCharCodec& codec_;
    const std::int32_t* table_;  // the automaton's tagged dense table
    TScanPlan plan_;
    TDeadEnds deadEnds_;
    // The last sixteen bytes examined at once: where they start, and a bit for each that can
    // begin a match. Candidates are consecutive and close together in most texts, so the
    // next ones are taken from here instead of examining the bytes again. No bit set: no
    // block kept.
    std::size_t blockBase_ = 0;
    unsigned blockHits_ = 0;
};

}  // namespace tallyon
