// Document files: a calculation document stored as its text lines joined by CR LF, answers
// and their trailing blank included, so a saved document reopens as the same lines. Reading
// and writing go through the text-file layer (encoding fallback, atomic replacement). A
// document keeps the encoding it was read in: an old Shift-JIS document is saved in
// Shift-JIS again unless it now holds a character that Shift-JIS cannot represent; new
// documents are UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "textfile/TextFile.h"

namespace tallyon {

// Joins lines with CR LF, no break after the last.
std::string JoinDocumentLines(const std::vector<std::string>& lines);

// Reads a calculation document into its text lines (SplitTextLines of the decoded text) and
// sets `encoding` to the encoding of the file. Raises ETextFileError when the file cannot be
// read.
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path,
                                          FileEncoding& encoding);
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path);
// The same document's decoded text, not split.
std::string ReadDocumentText(const std::filesystem::path& path, FileEncoding& encoding);

// Writes document lines joined by CR LF, atomically, in `encoding` or in UTF-8 when `encoding`
// cannot represent them; returns the encoding written. Raises ETextFileError on failure.
FileEncoding WriteDocumentFile(const std::filesystem::path& path,
                               const std::vector<std::string>& lines,
                               FileEncoding encoding = FileEncoding::Utf8);
// The same for a text whose lines are joined by CR LF already.
FileEncoding WriteDocumentText(const std::filesystem::path& path, std::string_view text,
                               FileEncoding encoding);

}  // namespace tallyon
