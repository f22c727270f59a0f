// The in-memory line document.
#include "document/MemoryLineDocument.h"

#include <algorithm>
#include <functional>

#include "textfile/TextFile.h"

namespace tallyon {

TMemoryLineDocument::TMemoryLineDocument() : spans_(1, TSpan{0, 0, 0}) {}

TMemoryLineDocument::TMemoryLineDocument(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size();
    read_.reserve(size);
    spans_.reserve(std::max<std::size_t>(lines.size(), 1));
    for (const std::string& line : lines) {
        spans_.push_back({read_.size(), 0, line.size()});
        read_ += line;
    }
    if (spans_.empty()) spans_.push_back({0, 0, 0});
}

TMemoryLineDocument TMemoryLineDocument::FromText(std::string text) {
    TMemoryLineDocument document;
    document.read_ = std::move(text);
    std::vector<TSpan>& spans = document.spans_;
    spans.clear();
    // One more for the empty line a calculation appends at the end.
    spans.reserve(CountLinesByFeeds(document.read_) + 1);
    ForEachTextLine(document.read_, [&spans](std::size_t offset, std::size_t length) {
        spans.push_back({offset, 0, length});
    });
    return document;
}

std::string_view TMemoryLineDocument::TextLine(int n) const {
    if (n < 0 || n >= static_cast<int>(spans_.size())) return {};
    const TSpan& span = spans_[static_cast<std::size_t>(n)];
    const std::string& block = span.rewritten ? rewritten_ : read_;
    return std::string_view(block).substr(span.offset, span.length);
}

std::vector<std::string> TMemoryLineDocument::TextLines() const {
    std::vector<std::string> lines;
    lines.reserve(spans_.size());
    for (int n = 0; n < TextLineCount(); ++n)
        lines.emplace_back(TextLine(n));
    return lines;
}

std::string TMemoryLineDocument::Text() const {
    std::size_t size = 0;
    for (const TSpan& span : spans_)
        size += span.length + 2;
    std::string text;
    text.reserve(size);
    for (int n = 0; n < TextLineCount(); ++n) {
        if (n > 0) text += "\r\n";
        text += TextLine(n);
    }
    return text;
}

int TMemoryLineDocument::LineCount() const {
    return static_cast<int>(spans_.size()) - (spans_.back().length == 0 ? 1 : 0);
}

std::string TMemoryLineDocument::Line(int n) const {
    return std::string(TextLine(n));
}

void TMemoryLineDocument::ReadLine(int n, std::string& text) const {
    text.assign(TextLine(n));
}

// A line rewritten again while it is the last one rewritten (the calculation writes a line's
// body and then its answer) takes its own place; any other rewrite appends. Bytes no line
// uses any longer are dropped once they outweigh the ones in use.
void TMemoryLineDocument::ReplaceLine(int n, std::string_view text) {
    if (n < 0) return;
    if (n >= static_cast<int>(spans_.size()))
        spans_.resize(static_cast<std::size_t>(n) + 1, TSpan{0, 0, 0});
    // The text may be a view of a line of this document: it is copied before the block that
    // holds it can move.
    const auto holds = [&text](const std::string& block) {
        const std::less<const char*> before;
        return !before(text.data(), block.data()) &&
               before(text.data(), block.data() + block.size());
    };
    if (!text.empty() && (holds(rewritten_) || holds(read_))) {
        const std::string copy(text);
        ReplaceLine(n, copy);
        return;
    }
    TSpan& span = spans_[static_cast<std::size_t>(n)];
    if (span.rewritten) {
        live_ -= span.length;
        if (span.offset + span.length == rewritten_.size()) rewritten_.resize(span.offset);
    }
    span = TSpan{rewritten_.size(), 1, text.size()};
    rewritten_.append(text);
    live_ += text.size();
    if (rewritten_.size() > 4096 && rewritten_.size() > 2 * live_) Compact();
}

void TMemoryLineDocument::Compact() {
    std::string kept;
    kept.reserve(live_ + live_ / 2);
    for (TSpan& span : spans_) {
        if (!span.rewritten) continue;
        const std::size_t offset = kept.size();
        kept.append(rewritten_, span.offset, span.length);
        span.offset = offset;
    }
    rewritten_ = std::move(kept);
}

void TMemoryLineDocument::AppendEmptyLine() {
    spans_.push_back({0, 0, 0});
}

void TMemoryLineDocument::HandOnPassedLines(std::function<void(std::string_view line)> sink) {
    sink_ = std::move(sink);
}

void TMemoryLineDocument::HandOnRest() {
    HandOnBefore(TextLineCount());
}

void TMemoryLineDocument::HandOnBefore(int end) {
    if (!sink_) return;
    for (; handedOn_ < end; ++handedOn_) {
        TSpan& span = spans_[static_cast<std::size_t>(handedOn_)];
        sink_(TextLine(handedOn_));
        if (span.rewritten) live_ -= span.length;
        span = TSpan{0, 0, 0};
    }
    // Once no line uses the rewritten texts, their storage starts over.
    if (live_ == 0) rewritten_.clear();
}

void TMemoryLineDocument::SetCaret(int n, int column) {
    caretLine_ = std::clamp(n, 0, static_cast<int>(spans_.size()) - 1);
    HandOnBefore(caretLine_);
    caretColumn_ = std::clamp(
        column, 0, static_cast<int>(spans_[static_cast<std::size_t>(caretLine_)].length));
}

}  // namespace tallyon
