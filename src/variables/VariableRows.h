// The rows of the variables window: the display-side copy of the variables, one row per
// name with the value text last given to it, kept in step with the variables list by the
// operations the calculation, the variables files and the window's commands call.
//
// The rows live here rather than in the list view, because a calculation may touch them
// hundreds of thousands of times: each change only updates this store and records what kind
// of change it was (values only, or the set or order of rows), and the first change of a
// batch calls the changed notification, so the window can copy the rows into its view once,
// when the program falls idle. Rows are found by name through an index of upper-case names;
// they are sorted by name under the locale's collation lazily, when read in order.
#pragma once

#include <QCollator>
#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace tallyon {

// Identifies a row for as long as it exists; ids are never reused. 0 names no row.
using TRowId = quint64;

struct TVariableRow {
    TRowId Id = 0;
    QString Name;   // upper case
    QString Value;  // as last given
};

// Names and values are upper-cased as the variables list compares names: ASCII letters only,
// so a row and the list line it shows always find each other.
QString UpperName(const QString& text);

class TVariableRows {
public:
    // What changed since the changes were last taken; bits of a set.
    enum Change : unsigned {
        None = 0,
        Values = 1,  // values of existing rows changed; every row kept its place
        Layout = 2,  // rows were added, removed or renamed, or their order changed
    };

    TVariableRows();

    // "_CLIP" (in any case) is the clipboard, not a variable of the user's: every operation
    // below leaves it without a row.

    // The row of Name (upper case) takes Value, or a new row Name=Value is added.
    void ShowVariable(const QString& name, const QString& value);
    // An assignment the parser reports: index -1 as ShowVariable; index >= 0 changes that
    // element of the row's comma list, padding it with "0" elements (a missing row starts
    // empty). An element index beyond kMaxElementIndex, or below -1, leaves the rows alone:
    // padding would build a value of gigabytes, and the list never stores such an element.
    void ShowAssignment(const QString& name, const QString& value, int index);
    static constexpr int kMaxElementIndex = 9999;

    // Removes every row.
    void Clear();
    // Adds a row without looking for one of the same name; 0 for "_CLIP".
    TRowId Add(const QString& name, const QString& value);
    // Removes the row; an unknown id does nothing.
    void Delete(TRowId id);
    // Gives the row a new name (upper-cased) and value; the rows are sorted again. Renamed
    // to "_CLIP", the row goes.
    void Change(TRowId id, const QString& name, const QString& value);

    // The first row, in display order, whose name equals `name` without regard to case.
    TRowId Find(const QString& name);
    // The row `id`, or nullptr.
    const TVariableRow* Row(TRowId id) const;
    int Count() const { return static_cast<int>(rows_.size()); }
    // Every row in display order: ascending by name.
    const std::vector<TVariableRow>& Ordered();

    // Called at the first change after the changes were last taken.
    void SetOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }
    // The changes since the last call (a set of Change bits), clearing them.
    unsigned TakeChanges();

    // Whether `a` sorts before `b`: the locale's collation with punctuation significant, so
    // "_ANS" precedes "A"; texts the collation finds equal go by their code units.
    bool NameLess(const QString& a, const QString& b) const;

private:
    static bool IsClipboard(const QString& upperName);
    void Mark(unsigned change);
    void Reindex();
    int PositionOf(TRowId id) const;

    std::vector<TVariableRow> rows_;
    QHash<QString, int> firstByName_;  // upper-case name -> position of its first row
    QHash<TRowId, int> positionById_;  // id -> position in rows_
    bool sorted_ = true;               // rows_ is in display order
    TRowId nextId_ = 1;
    unsigned changes_ = None;
    std::function<void()> onChanged_;
    QCollator collator_;
};

}  // namespace tallyon
