// The rows store: lookups, the element update of assignments, and the lazy sort.
#include "variables/VariableRows.h"

#include <QLocale>
#include <algorithm>

#include "engine/VariableList.h"

namespace tallyon {

namespace {

// The plain C locale collates by code point, which would put "_" after the letters; the
// neutral order of English stands in for it.
QLocale CollationLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale(QLocale::English) : system;
}

}  // namespace

QString UpperName(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    return upper;
}

TVariableRows::TVariableRows() : collator_(CollationLocale()) {
    collator_.setIgnorePunctuation(false);
    collator_.setCaseSensitivity(Qt::CaseSensitive);
}

bool TVariableRows::IsClipboard(const QString& upperName) {
    return upperName == u"_CLIP";
}

bool TVariableRows::NameLess(const QString& a, const QString& b) const {
    const int order = collator_.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void TVariableRows::Mark(unsigned change) {
    const bool first = changes_ == None;
    changes_ |= change;
    if (first && onChanged_) onChanged_();
}

unsigned TVariableRows::TakeChanges() {
    const unsigned changes = changes_;
    changes_ = None;
    return changes;
}

void TVariableRows::Reindex() {
    firstByName_.clear();
    positionById_.clear();
    // Backwards, so a name met again ends up at its first position.
    for (int i = static_cast<int>(rows_.size()) - 1; i >= 0; --i) {
        firstByName_.insert(rows_[i].Name, i);
        positionById_.insert(rows_[i].Id, i);
    }
}

int TVariableRows::PositionOf(TRowId id) const {
    return positionById_.value(id, -1);
}

const std::vector<TVariableRow>& TVariableRows::Ordered() {
    if (!sorted_) {
        std::stable_sort(rows_.begin(), rows_.end(),
                         [this](const TVariableRow& a, const TVariableRow& b) {
                             return NameLess(a.Name, b.Name);
                         });
        sorted_ = true;
        Reindex();
    }
    return rows_;
}

TRowId TVariableRows::Find(const QString& name) {
    // Only rows added without a search can share a name, and they are sorted at once, so the
    // first position of a name is its first row in display order.
    const int position = firstByName_.value(UpperName(name), -1);
    return position < 0 ? 0 : rows_[position].Id;
}

const TVariableRow* TVariableRows::Row(TRowId id) const {
    const int position = PositionOf(id);
    return position < 0 ? nullptr : &rows_[position];
}

void TVariableRows::ShowVariable(const QString& name, const QString& value) {
    const QString upper = UpperName(name);
    if (IsClipboard(upper)) return;
    const int position = firstByName_.value(upper, -1);
    if (position >= 0) {
        QString& shown = rows_[position].Value;
        if (shown != value) {
            shown = value;
            Mark(Values);
        }
        return;
    }
    const TRowId id = nextId_++;
    const int end = static_cast<int>(rows_.size());
    // A name that sorts after the last row keeps the rows in order, the common case when a
    // document assigns its variables in alphabetical order.
    if (sorted_ && end > 0 && NameLess(upper, rows_.back().Name)) sorted_ = false;
    rows_.push_back({id, upper, value});
    firstByName_.insert(upper, end);
    positionById_.insert(id, end);
    Mark(Layout);
}

void TVariableRows::ShowAssignment(const QString& name, const QString& value, int index) {
    if (index == -1) {
        ShowVariable(name, value);
        return;
    }
    if (index < 0 || index > kMaxElementIndex) return;
    const int position = firstByName_.value(UpperName(name), -1);
    std::vector<std::string> items =
        position < 0 ? std::vector<std::string>()
                     : ReadCommaList(rows_[position].Value.toStdString());
    const auto wanted = static_cast<std::size_t>(index) + 1;
    if (items.size() < wanted) items.resize(wanted, "0");
    items[static_cast<std::size_t>(index)] = value.toStdString();
    ShowVariable(name, QString::fromStdString(WriteCommaList(items)));
}

void TVariableRows::Clear() {
    if (rows_.empty()) return;
    rows_.clear();
    firstByName_.clear();
    positionById_.clear();
    sorted_ = true;
    Mark(Layout);
}

TRowId TVariableRows::Add(const QString& name, const QString& value) {
    const QString upper = UpperName(name);
    if (IsClipboard(upper)) return 0;
    const TRowId id = nextId_++;
    rows_.push_back({id, upper, value});
    sorted_ = false;
    Ordered();
    Mark(Layout);
    return id;
}

void TVariableRows::Delete(TRowId id) {
    const int position = PositionOf(id);
    if (position < 0) return;
    rows_.erase(rows_.begin() + position);
    Reindex();
    Mark(Layout);
}

void TVariableRows::Change(TRowId id, const QString& name, const QString& value) {
    const int position = PositionOf(id);
    if (position < 0) return;
    if (IsClipboard(UpperName(name))) {
        Delete(id);
        return;
    }
    rows_[position].Name = UpperName(name);
    rows_[position].Value = value;
    sorted_ = false;
    Ordered();
    Mark(Layout);
}

}  // namespace tallyon
