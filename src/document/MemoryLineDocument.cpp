// The in-memory line document.
#include "document/MemoryLineDocument.h"

#include <algorithm>

namespace tallyon {

TMemoryLineDocument::TMemoryLineDocument(std::vector<std::string> lines)
    : Lines_(std::move(lines)) {
    if (Lines_.empty()) Lines_.emplace_back();
}

int TMemoryLineDocument::LineCount() const {
    return static_cast<int>(Lines_.size()) - (Lines_.back().empty() ? 1 : 0);
}

std::string TMemoryLineDocument::Line(int n) const {
    return n >= 0 && n < static_cast<int>(Lines_.size()) ? Lines_[n] : std::string();
}

void TMemoryLineDocument::ReplaceLine(int n, std::string_view text) {
    if (n < 0) return;
    if (n >= static_cast<int>(Lines_.size())) Lines_.resize(n + 1);
    Lines_[n].assign(text);
}

void TMemoryLineDocument::AppendEmptyLine() {
    Lines_.emplace_back();
}

void TMemoryLineDocument::SetCaret(int n, int column) {
    CaretLine_ = std::clamp(n, 0, static_cast<int>(Lines_.size()) - 1);
    CaretColumn_ = std::clamp(column, 0, static_cast<int>(Lines_[CaretLine_].size()));
}

}  // namespace tallyon
