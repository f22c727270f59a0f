// Document files: one reader and one writer for calculation documents, and the safe writer
// that every file of the program goes through.
//
// A document is stored as its text lines joined by CR LF, in UTF-8, answers and their
// trailing blank included, so a saved document reopens as the same lines. Reading accepts
// UTF-8 (a byte-order mark is skipped) and falls back to Shift-JIS (code page 932) for a file
// that is not valid UTF-8, as older Windows systems wrote; CR LF, lone LF and lone CR all end
// a line.
//
// Writing is atomic: the text goes to a temporary file in the target's folder, is flushed to
// disk and renamed over the target, so a failure or crash mid-save leaves the old file whole.
// The old file's permissions are kept, and a symbolic link keeps pointing at its target, which
// is the file replaced. A folder, device or pipe in the target's place is refused, never
// replaced.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tallyon {

// A document or variables file that cannot be read or written. The message is meant for the
// user as it stands and names the file.
class EDocumentFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file as UTF-8 text (Shift-JIS converted when the bytes are not valid UTF-8;
// a UTF-8 byte-order mark dropped). Raises EDocumentFileError when the file cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);

// Splits a text into its lines at CR LF, lone LF and lone CR. A text ending with a line break
// ends with one empty line; an empty text is one empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Joins lines with CR LF, no break after the last.
std::string JoinDocumentLines(const std::vector<std::string>& lines);

// Reads a calculation document into its text lines (SplitTextLines of ReadTextFile).
std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path);

// Writes document lines joined by CR LF, atomically.
void WriteDocumentFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Replaces the file at `path` by `bytes` atomically (see above). Raises EDocumentFileError and
// leaves the old file untouched on failure.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Decodes bytes as text: UTF-8 as it stands (byte-order mark dropped), else Shift-JIS.
std::string DecodeDocumentBytes(std::string_view bytes);

}  // namespace tallyon
