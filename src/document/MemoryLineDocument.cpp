// The in-memory line document.
#include "document/MemoryLineDocument.h"

#include <algorithm>

namespace tallyon {

TMemoryLineDocument::TMemoryLineDocument(std::vector<std::string> lines)
    : lines_(std::move(lines)) {
    if (lines_.empty()) lines_.emplace_back();
}

int TMemoryLineDocument::LineCount() const {
    return static_cast<int>(lines_.size()) - (lines_.back().empty() ? 1 : 0);
}

std::string TMemoryLineDocument::Line(int n) const {
    return n >= 0 && n < static_cast<int>(lines_.size()) ? lines_[n] : std::string();
}

void TMemoryLineDocument::ReadLine(int n, std::string& text) const {
    if (n >= 0 && n < static_cast<int>(lines_.size())) {
        text.assign(lines_[n]);
    } else {
        text.clear();
    }
}

void TMemoryLineDocument::ReplaceLine(int n, std::string_view text) {
    if (n < 0) return;
    if (n >= static_cast<int>(lines_.size())) lines_.resize(n + 1);
    lines_[n].assign(text);
}

void TMemoryLineDocument::AppendEmptyLine() {
    lines_.emplace_back();
}

void TMemoryLineDocument::SetCaret(int n, int column) {
    caretLine_ = std::clamp(n, 0, static_cast<int>(lines_.size()) - 1);
    caretColumn_ = std::clamp(column, 0, static_cast<int>(lines_[caretLine_].size()));
}

}  // namespace tallyon
