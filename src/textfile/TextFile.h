// Text files: the one reader and the one writer that every file of the program goes through,
// documents and variables files alike.
//
// Reading accepts UTF-8 (a byte-order mark is skipped) and falls back to Shift-JIS (code page
// 932) for a file that is not valid UTF-8, as older Windows systems wrote. Text inside the
// program is always UTF-8. Lines end at CR LF, lone LF and lone CR.
//
// Writing is atomic: the bytes go to a temporary file in the target's folder, are flushed to
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

// A file that cannot be read or written. The message is meant for the user as it stands and
// names the file.
class ETextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file as UTF-8 text (Shift-JIS converted when the bytes are not valid UTF-8;
// a UTF-8 byte-order mark dropped). Raises ETextFileError when the file cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);

// Splits a text into its lines at CR LF, lone LF and lone CR. A text ending with a line break
// ends with one empty line; an empty text is one empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Replaces the file at `path` by `bytes` atomically (see above). Raises ETextFileError and
// leaves the old file untouched on failure.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Decodes bytes as text: UTF-8 as it stands (byte-order mark dropped), else Shift-JIS.
std::string DecodeTextBytes(std::string_view bytes);

}  // namespace tallyon
