// Terms, the term list and the operator table: the data the engine works on.
//
// The scanner turns an expression into a TTrmList of TTerm; the reduction then works on that
// list in place. A term's Kind says what it is: an operator priority (5..100), an operand (0),
// an unbound name (-1), an element reference (-2), an array name (200) or a user-function
// name (300). The operator table lists every operator, function name, comma and bracket with
// its priority, longest text first, and keeps an index by first character so that the scanner
// tries only the entries that can match at a position, in the table's own order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyon {

// Term kinds that are not operator priorities.
inline constexpr int kKindOperand = 0;
inline constexpr int kKindUnbound = -1;
inline constexpr int kKindElement = -2;
inline constexpr int kKindArrayName = 200;
inline constexpr int kKindUserFunction = 300;

// Priorities of the table entries that the engine itself needs to know.
inline constexpr int kPriorityMultiply = 90;
inline constexpr int kPriorityFunction = 100;

struct TTerm {
    std::vector<double> Args;  // all but the last value of a comma list; empty until first used
    int32_t Kind = 0;
    int32_t Index = 0;  // element index, meaningful only when Kind is kKindElement
    double Value = 0;   // 0 for operators and unbound names
    std::string Text;   // the operator, the name, or the number as typed

    void AddArg(double value) { Args.push_back(value); }
    int ArgCount() const { return static_cast<int>(Args.size()); }
    // Value i of Args, or 0 when i is not below ArgCount().
    double Arg(int i) const {
        return i >= 0 && i < ArgCount() ? Args[static_cast<size_t>(i)] : 0.0;
    }
    // True when Text is exactly the one character c (brackets, comma).
    bool Is(char c) const { return Text.size() == 1 && Text[0] == c; }
    bool IsOperator(std::string_view op) const { return Text == op; }
};

// An ordered list that owns its terms; positions count from 0.
class TTrmList {
public:
    void AddTerm(int kind, std::string_view text, double value);
    void Clear() { terms_.clear(); }
    int Count() const { return static_cast<int>(terms_.size()); }
    TTerm& operator[](int position) { return terms_[static_cast<size_t>(position)]; }
    const TTerm& operator[](int position) const { return terms_[static_cast<size_t>(position)]; }

    // Direct access for the stages that rebuild the list in one pass.
    std::vector<TTerm>& Items() { return terms_; }
    const std::vector<TTerm>& Items() const { return terms_; }

private:
    std::vector<TTerm> terms_;
};

// The operator table: every operator text with its priority, in scanning order.
class TOpeList {
public:
    struct TEntry {
        std::string Text;
        int Priority = 0;
        bool Alphabetic = false;  // begins with a letter A..Z: a function name
        int Builtin = -1;         // a function's index in the built-in table, else -1
    };

    void Clear();
    void Add(std::string_view text, int priority);
    // Orders the entries by decreasing text length (an exchange sort) and rebuilds the index.
    void SortLongestFirst();

    int Count() const { return static_cast<int>(entries_.size()); }
    const TEntry& operator[](int i) const { return entries_[static_cast<size_t>(i)]; }
    // Entries whose text begins with byte c, in table order.
    const std::vector<int>& StartingWith(unsigned char c) const { return byFirst_[c]; }
    // The priority of an entry with exactly this text, or 0.
    int PriorityOf(std::string_view text) const;
    // The entry standing in `text` at `at`, longest first, or nullptr; a function name
    // followed by a letter is the start of a longer name and does not count. Defined below.
    const TEntry* EntryAt(std::string_view text, size_t at) const;

private:
    std::vector<TEntry> entries_;
    std::array<std::vector<int>, 256> byFirst_;
};

// Fills the table: arithmetic, the built-in function names, comparisons, logic, comma,
// brackets and assignment, then orders it longest first.
void BuildOperatorTable(TOpeList& table);

// ASCII letter test used wherever names and function names are told apart.
inline bool IsUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

inline const TOpeList::TEntry* TOpeList::EntryAt(std::string_view text, size_t at) const {
    for (int index : byFirst_[static_cast<unsigned char>(text[at])]) {
        const TEntry& entry = entries_[static_cast<size_t>(index)];
        const std::string_view op = entry.Text;
        // Operators are a few characters long and their first character is known to match,
        // so a plain loop beats a library compare.
        if (op.size() > text.size() - at) continue;
        size_t k = 1;
        while (k < op.size() && text[at + k] == op[k])
            ++k;
        if (k < op.size()) continue;
        if (entry.Alphabetic && at + op.size() < text.size() && IsUpperLetter(text[at + op.size()]))
            continue;
        return &entry;
    }
    return nullptr;
}

}  // namespace tallyon
