// Variables files: the variables list written as one NAME=VALUE line per entry, and read
// back into the list.
//
// Writing: every line of the list as the list holds it, each ending with CR LF (the last one
// too), nothing else; an empty list gives an empty file. The file is replaced atomically.
// Reading: the text ends at a NUL; lines end at CR LF, lone CR or lone LF; a line's name is the
// text before its first "=" and its value the text after it, blanks kept; lines with an empty
// name are skipped; a name met again (case ignored) takes the value of its first line.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/VariableList.h"

namespace tallyon {

// One entry of a variables file as it will enter the list.
struct TVariableEntry {
    std::string Name;
    std::string Value;
};

// The entries of a variables file's text, in file order, after the rules above (duplicate
// names already carry their first line's value).
std::vector<TVariableEntry> ParseVariablesText(std::string_view text);

// Reads the file's entries; raises ETextFileError when it cannot be read. The list is not
// touched, so a caller can clear and fill it only after the file was read.
std::vector<TVariableEntry> ReadVariablesFile(const std::filesystem::path& path);

// Fills the list: clears it, then sets every entry in order (an empty value sets nothing, as
// the list drops empty values) and calls `show` with each entry's name and value.
void LoadVariables(TVariableList& list, const std::vector<TVariableEntry>& entries,
                   const std::function<void(const std::string&, const std::string&)>& show = {});

// The file text of the list: each line followed by CR LF.
std::string VariablesText(const TVariableList& list);

// Writes the list to the file atomically; raises ETextFileError on failure.
void WriteVariablesFile(const std::filesystem::path& path, const TVariableList& list);

}  // namespace tallyon
