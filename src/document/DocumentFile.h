// Document files: a calculation document stored as its text lines joined by CR LF, answers
// and their trailing blank included, so a saved document reopens as the same lines. Reading
// and writing go through the text-file layer (encoding fallback, atomic replacement).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "textfile/TextFile.h"

namespace tallyon {

// Joins lines with CR LF, no break after the last.
std::string JoinDocumentLines(const std::vector<std::string>& lines);

// Reads a calculation document into its text lines (SplitTextLines of ReadTextFile). Raises
// ETextFileError when the file cannot be read.
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path);

// Writes document lines joined by CR LF, atomically. Raises ETextFileError on failure.
void WriteDocumentFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace tallyon
