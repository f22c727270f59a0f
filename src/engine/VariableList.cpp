// The variables list and the comma list.
//
// The list is a vector of "NAME=value" lines and, beside it, a hash index from each name
// (case folded in the hash and the comparison) to its first line. Lookups therefore cost
// the same however many variables there are, while order and first-match semantics are
// those of a plain scan: appending only ever adds a name the index does not know, replacing
// a value keeps the line where it is, and removing a line shifts the later indexes.
//
// Beside each line sits the number its value reads as, filled on the first NumberValue and
// cleared by every operation that writes the line, so the stored text stays the truth and the
// number is never stale.
#include "engine/VariableList.h"

#include <atomic>
#include <cassert>
#include <cstring>
#include <functional>

#include "engine/AsciiText.h"
#include "engine/MathFault.h"
#include "engine/RuvoSub.h"

namespace tallyon {

uint32_t TVariableList::HashName(std::string_view name) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiUpper(c));
        hash *= 1099511628211ull;
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

bool TVariableList::SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

std::string_view TVariableList::NamePart(std::string_view line) {
    const size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

std::string_view TVariableList::ValuePart(std::string_view line) {
    const size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

size_t TVariableList::SlotOf(std::string_view name, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot& slot = slots_[i];
        if (slot.Line < 0) return i;
        if (slot.Hash == hash && slot.NameLength == name.size() &&
            SameName(std::string_view(lines_[static_cast<size_t>(slot.Line)]).substr(0, name.size()),
                     name)) {
            return i;
        }
    }
}

void TVariableList::IndexLine(int index) {
    if (2 * (indexed_ + 1) > slots_.size()) {
        // Growing re-indexes every line, this one included.
        RebuildIndex(2 * slots_.size());
        return;
    }
    const std::string_view name = NamePart(lines_[static_cast<size_t>(index)]);
    const uint32_t hash = HashName(name);
    TSlot& slot = slots_[SlotOf(name, hash)];
    if (slot.Line >= 0) return;  // an earlier line has the name
    slot.Hash = hash;
    slot.Line = index;
    slot.NameLength = static_cast<uint32_t>(name.size());
    ++indexed_;
}

void TVariableList::RebuildIndex(size_t minSlots) {
    size_t size = 16;
    while (size < minSlots || size < 2 * lines_.size())
        size *= 2;
    slots_.assign(size, TSlot());
    indexed_ = 0;
    for (size_t i = 0; i < lines_.size(); ++i)
        IndexLine(static_cast<int>(i));
}

int TVariableList::Find(std::string_view name) const {
    if (slots_.empty()) return -1;
    return slots_[SlotOf(name, HashName(name))].Line;
}

std::string TVariableList::Get(std::string_view name) const {
    const int index = Find(name);
    return index < 0 ? std::string() : std::string(ValuePart(lines_[static_cast<size_t>(index)]));
}

std::optional<double> TVariableList::NumberValue(std::string_view name) const {
    const int index = Find(name);
    if (index < 0) return std::nullopt;
    TNumberCache& cache = numbers_[static_cast<size_t>(index)];
    if (cache.known) return cache.value;
    const std::string_view value = ValuePart(lines_[static_cast<size_t>(index)]);
    if (value.empty()) return std::nullopt;  // only a line added verbatim can have one
    cache.value = StoreDouble(RuvoStrToFloat(value.substr(0, value.find(','))));
    cache.known = true;
    return cache.value;
}

uint64_t TVariableList::NextGeneration() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

void TVariableList::Set(std::string_view name, std::string_view value) {
    const int index = Find(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    if (index >= 0) {
        SetAt(index, name, value);
    } else {
        std::string line;
        line.reserve(name.size() + 1 + value.size());
        line.append(name);
        line += '=';
        line.append(value);
        AddLine(std::move(line));
    }
}

void TVariableList::Set(std::string_view name, std::string_view value, THint& hint) {
    if (value.empty() || hint.Generation != generation_ || hint.Index < 0 ||
        hint.Index >= Count()) {
        Set(name, value);
        hint = {Find(name), generation_};
        return;
    }
    SetAt(hint.Index, name, value);
}

void TVariableList::SetAt(int index, std::string_view name, std::string_view value) {
    // The name is unchanged up to case, so the index stays valid. The line is rewritten
    // in its own storage; when name or value view that storage, the new line is built
    // apart and swapped in.
    std::string& line = lines_[static_cast<size_t>(index)];
    const auto views = [&line](std::string_view part) {
        const std::less<const char*> before;
        return !part.empty() && !before(part.data(), line.data()) &&
               before(part.data(), line.data() + line.size());
    };
    if (!views(name) && !views(value)) {
        line.resize(name.size() + 1 + value.size());
        char* out = line.data();
        std::memcpy(out, name.data(), name.size());
        out[name.size()] = '=';
        std::memcpy(out + name.size() + 1, value.data(), value.size());
    } else {
        spare_.assign(name);
        spare_ += '=';
        spare_.append(value);
        line.swap(spare_);
    }
    numbers_[static_cast<size_t>(index)] = TNumberCache();
}

void TVariableList::Delete(int index) {
    assert(index >= 0 && index < Count());
    lines_.erase(lines_.begin() + index);
    numbers_.erase(numbers_.begin() + index);
    generation_ = NextGeneration();
    // Every later line moved up, and a later line of the removed name (only lines added
    // verbatim can repeat a name) may now be its first: the index is built afresh, which
    // costs no more than the erase itself.
    RebuildIndex(slots_.size());
}

void TVariableList::Clear() {
    lines_.clear();
    numbers_.clear();
    slots_.clear();
    indexed_ = 0;
    generation_ = NextGeneration();
}

int TVariableList::Count() const {
    return static_cast<int>(lines_.size());
}

const std::string& TVariableList::Line(int index) const {
    return lines_[static_cast<size_t>(index)];
}

std::string TVariableList::NameOfLine(int index) const {
    return std::string(NamePart(lines_[static_cast<size_t>(index)]));
}

const std::vector<std::string>& TVariableList::Lines() const {
    return lines_;
}

void TVariableList::AddLine(std::string line) {
    lines_.push_back(std::move(line));
    numbers_.emplace_back();
    generation_ = NextGeneration();
    IndexLine(Count() - 1);
}

std::vector<std::string> ReadDelimitedList(std::string_view text, char delimiter) {
    std::vector<std::string> items;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && IsBlankCode(text[i]))
        ++i;
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            // Quoted: up to the closing quote, a doubled quote standing for one; an unclosed
            // quote runs to the end of the text.
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const size_t begin = i;
            while (i < n && !IsBlankCode(text[i]) && text[i] != delimiter)
                ++i;
            item.assign(text.substr(begin, i - begin));
        }
        items.push_back(std::move(item));
        while (i < n && IsBlankCode(text[i]))
            ++i;
        if (i < n && text[i] == delimiter) {
            if (i + 1 == n) items.emplace_back();  // a trailing delimiter ends with an empty item
            ++i;
            while (i < n && IsBlankCode(text[i]))
                ++i;
        }
    }
    return items;
}

std::string WriteCommaList(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (size_t k = 0; k < items.size(); ++k) {
        if (k > 0) out += ',';
        const std::string& item = items[k];
        bool quote = false;
        for (char c : item)
            if (IsBlankCode(c) || c == '"' || c == ',') quote = true;
        if (!quote) {
            out += item;
            continue;
        }
        out += '"';
        for (char c : item) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

}  // namespace tallyon
