// Variables files: parsing, filling the list and writing.
#include "variables/VariablesFile.h"

#include <unordered_map>

#include "document/DocumentFile.h"
#include "engine/AsciiText.h"

namespace tallyon {

std::vector<TVariableEntry> ParseVariablesText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<TVariableEntry> entries;
    std::unordered_map<std::string, std::string> firstValue;  // folded name -> value
    for (const std::string& line : SplitTextLines(text)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        TVariableEntry entry{line.substr(0, equals), line.substr(equals + 1)};
        const auto [it, inserted] = firstValue.emplace(AsciiUpperCopy(entry.Name), entry.Value);
        if (!inserted) entry.Value = it->second;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<TVariableEntry> ReadVariablesFile(const std::filesystem::path& path) {
    return ParseVariablesText(ReadTextFile(path));
}

void LoadVariables(TVariableList& list, const std::vector<TVariableEntry>& entries,
                   const std::function<void(const std::string&, const std::string&)>& show) {
    list.Clear();
    for (const TVariableEntry& entry : entries) {
        list.Set(entry.Name, entry.Value);
        if (show) show(entry.Name, entry.Value);
    }
}

std::string VariablesText(const TVariableList& list) {
    std::string text;
    for (const std::string& line : list.Lines()) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void WriteVariablesFile(const std::filesystem::path& path, const TVariableList& list) {
    WriteFileAtomically(path, VariablesText(list));
}

}  // namespace tallyon
