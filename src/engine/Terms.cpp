// The term list and the operator table (see Terms.h).
//
// The operator table is the one vocabulary of operators and function names: the scanner finds
// operators through it and every term of an operator carries the entry's priority. Its order
// decides which operator wins when several fit at one position: the entries are sorted longest
// first, so ">=" is tried before ">" and "ARCSINHD" before "ARCSINH".
#include "engine/Terms.h"

#include <utility>

#include "engine/Functions.h"

namespace tallyon {

void TTrmList::AddTerm(int kind, std::string_view text, double value) {
    TTerm& term = terms_.emplace_back();
    term.Kind = kind;
    term.Value = value;
    term.Text.assign(text);
}

void TOpeList::Clear() {
    entries_.clear();
    for (auto& list : byFirst_)
        list.clear();
}

void TOpeList::Add(std::string_view text, int priority) {
    const bool alphabetic = !text.empty() && IsUpperLetter(text[0]);
    entries_.push_back({std::string(text), priority, alphabetic,
                        priority == kPriorityFunction ? FindBuiltinFunction(text) : -1});
}

void TOpeList::SortLongestFirst() {
    // The exchange sort fixes the order among entries of equal length; that order never
    // matters for matching (two different texts of one length cannot both fit), but keeping
    // the one algorithm keeps the table reproducible.
    const size_t n = entries_.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i; j < n; ++j) {
            if (entries_[i].Text.size() < entries_[j].Text.size()) {
                std::swap(entries_[i], entries_[j]);
            }
        }
    }
    for (auto& list : byFirst_)
        list.clear();
    for (size_t i = 0; i < n; ++i) {
        if (entries_[i].Text.empty()) continue;
        byFirst_[static_cast<unsigned char>(entries_[i].Text[0])].push_back(static_cast<int>(i));
    }
}

int TOpeList::PriorityOf(std::string_view text) const {
    if (text.empty()) return 0;
    for (int i : byFirst_[static_cast<unsigned char>(text[0])]) {
        if (entries_[static_cast<size_t>(i)].Text == text) {
            return entries_[static_cast<size_t>(i)].Priority;
        }
    }
    return 0;
}

void BuildOperatorTable(TOpeList& table) {
    table.Clear();
    static constexpr std::pair<std::string_view, int> kArithmetic[] = {
        {"+", 60}, {"-", 60}, {"*", 90},  {"/", 90},    {"%", 90},
        {"#", 90}, {"^", 95}, {"//", 70}, {"\\\\", 70},
    };
    // The magnitude comparisons ">>", ">>=", "<<" and "<<=" are listed with the other
    // comparisons, so that they can be written; without them ">>" would scan as two ">".
    static constexpr std::pair<std::string_view, int> kRest[] = {
        {"==", 50},  {"!=", 50}, {">", 50},   {">=", 50}, {"<", 50}, {"<=", 50}, {">>", 50},
        {">>=", 50}, {"<<", 50}, {"<<=", 50}, {"!", 40},  {"&", 30}, {"|", 30},  {",", 20},
        {"[", 15},   {"]", 15},  {"(", 10},   {")", 10},  {":=", 5},
    };
    for (const auto& [text, priority] : kArithmetic)
        table.Add(text, priority);
    for (std::string_view name : BuiltinFunctionNames())
        table.Add(name, kPriorityFunction);
    for (const auto& [text, priority] : kRest)
        table.Add(text, priority);
    table.SortLongestFirst();
}

}  // namespace tallyon
