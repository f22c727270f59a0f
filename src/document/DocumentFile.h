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
// read. `room`: capacity reserved beyond each non-empty line's text, for a caller that will
// append answers.
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path,
                                          FileEncoding& encoding, std::size_t room = 0);
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path);

// Writes document lines joined by CR LF, atomically, in `encoding` or in UTF-8 when `encoding`
// cannot represent them; returns the encoding written. Raises ETextFileError on failure.
FileEncoding WriteDocumentFile(const std::filesystem::path& path,
                               const std::vector<std::string>& lines,
                               FileEncoding encoding = FileEncoding::Utf8);

}  // namespace tallyon
