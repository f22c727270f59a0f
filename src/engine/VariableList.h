// The variables list: an ordered list of "NAME=value" lines, shared by the host and the parser.
//
// The name part of a line is the text before its first "="; lookups take the first line whose
// name part equals the wanted name without regard to ASCII letter case. Lines keep insertion
// order; a changed value keeps its line's position. Setting an empty value removes the name,
// so no name is ever stored with an empty value. An index of folded names kept beside the
// lines makes lookups independent of the list's length, and the number each line's value
// reads as is kept beside it once read, so reading a variable again costs one lookup.
//
// Also here: the comma list, the text form of arrays ("1,2,3", items with blanks, commas or
// quotes in double quotes), read and written by one implementation for every user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyon {

class TVariableList {
public:
    // Index of the first line whose name part matches name, or -1.
    int Find(std::string_view name) const;
    // The value part of the first matching line; empty when the name is not defined.
    std::string Get(std::string_view name) const;
    // The number that name stands for when named alone in an expression: its value text up
    // to the first "," (an array stands for its first element), read by RuvoStrToFloat and
    // rounded to a double. nullopt when the name is not defined. The reading is kept until
    // the line changes; a text that does not read raises EConvertError (EMathError beyond
    // the double range) at every call, and nothing is kept.
    std::optional<double> NumberValue(std::string_view name) const;
    // Non-empty value: replaces the first matching line by name=value (the name spelled as
    // given now) or appends it. Empty value: deletes the first matching line, if any.
    void Set(std::string_view name, std::string_view value);
    // Where a name's line was last found, for a caller that sets the same name again and
    // again ("ANS" on every line): valid while no line has been added or removed since.
    struct THint {
        int Index = -1;
        uint64_t Generation = 0;
    };
    // Set with a non-empty value, taking the line from `hint` when it is still valid instead
    // of looking the name up; `hint` is brought up to date.
    void Set(std::string_view name, std::string_view value, THint& hint);
    // Removes line index (0 <= index < Count()).
    void Delete(int index);
    void Clear();
    int Count() const;
    // The text of line index, "NAME=value".
    const std::string& Line(int index) const;
    // The name part of line index (empty for a line without "=").
    std::string NameOfLine(int index) const;
    // All lines in order, for saving.
    const std::vector<std::string>& Lines() const;
    // Appends a raw line as it stands (used when loading lines that are kept verbatim).
    void AddLine(std::string line);

private:
    // A slot of the name index: the hash of a folded name and the first line with that name.
    struct TSlot {
        uint32_t Hash = 0;
        int32_t Line = -1;        // -1: an empty slot
        uint32_t NameLength = 0;  // bytes of the line's name part
    };

    // Hashing and equality of names without regard to ASCII letter case.
    static uint32_t HashName(std::string_view name);
    static bool SameName(std::string_view a, std::string_view b);
    static std::string_view NamePart(std::string_view line);
    static std::string_view ValuePart(std::string_view line);
    // The slot that holds `name` (hashed to `hash`), or the empty slot where it would go.
    size_t SlotOf(std::string_view name, uint32_t hash) const;
    // Adds line `index` to the index unless an earlier line already has its name.
    void IndexLine(int index);
    // Indexes every line afresh, in order, in a table of at least `minSlots` slots.
    void RebuildIndex(size_t minSlots);

    // The number a line's value reads as, once read (NumberValue); parallel to lines_.
    struct TNumberCache {
        double value = 0;
        bool known = false;  // false until read, and again after every change of the line
    };

    std::vector<std::string> lines_;
    mutable std::vector<TNumberCache> numbers_;
    // Each name to the index of the first line that has it: open addressing over a power of
    // two of slots, probed linearly, at most half full.
    std::vector<TSlot> slots_;
    size_t indexed_ = 0;  // names in slots_
    // Storage of a replaced line, reused by the next replacement (no meaning of its own).
    std::string spare_;
    // Changed to a number never used before whenever a line is added or removed, so that a
    // hint from before (of this list or any other) is never taken for a current one.
    uint64_t generation_ = NextGeneration();
    static uint64_t NextGeneration();
    // Replaces the value of line `index`, which has the name `name` up to case.
    void SetAt(int index, std::string_view name, std::string_view value);
};

// Reads a list delimited by `delimiter`: blanks (codes 1..32) around items are skipped, an
// item is a quoted text (a doubled quote stands for one) or the run up to the next delimiter
// or blank; a delimiter at the very end adds one empty item. An empty text gives no items.
// Blanks always separate items, so with a blank as delimiter (TAB, space) runs of blanks
// count as one separator; only a delimiter that is not a blank can give empty items.
// Bytes from 128 up never separate, so no UTF-8 character is split.
std::vector<std::string> ReadDelimitedList(std::string_view text, char delimiter);
// Reads a comma list: the delimited list with ",".
inline std::vector<std::string> ReadCommaList(std::string_view text) {
    return ReadDelimitedList(text, ',');
}
// Writes a comma list: items joined by "," with items containing a code <= 32, a quote or a
// comma quoted; a list of one empty item is written as "\"\"".
std::string WriteCommaList(const std::vector<std::string>& items);

}  // namespace tallyon
