// Text files: the one reader and the one writer that every file of the program goes through,
// documents and variables files alike.
//
// Reading accepts UTF-8 (a byte-order mark is skipped) and falls back to Shift-JIS (code page
// 932) for a file that is not valid UTF-8, as older Windows systems wrote. Text inside the
// program is always UTF-8; the reader reports which encoding the file used, so that a writer
// can store the text in it again. Writing in Shift-JIS falls back to UTF-8 when the text holds
// a character that Shift-JIS cannot represent, rather than lose that character. Lines end at
// CR LF, lone LF and lone CR.
//
// Writing is atomic: the bytes go to a temporary file in the target's folder, are flushed to
// disk and renamed over the target, so a failure or crash mid-save leaves the old file whole.
// The old file's permissions are kept, and a symbolic link keeps pointing at its target, which
// is the file replaced. A folder, device or pipe in the target's place is refused, never
// replaced.
#pragma once

#include <cstring>
#include <filesystem>
#include <optional>
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

// The encodings in which text files are read and written.
enum class FileEncoding { Utf8, ShiftJis };

// Text in UTF-8 and the encoding its file was stored in.
struct TDecodedText {
    std::string Text;
    FileEncoding Encoding = FileEncoding::Utf8;
};

// Decodes bytes as text: UTF-8 as it stands (byte-order mark dropped), else Shift-JIS, where a
// byte that does not convert becomes U+FFFD.
TDecodedText DecodeText(std::string_view bytes);
// The same, taking the bytes' storage for the text when they are UTF-8 already.
TDecodedText DecodeText(std::string&& bytes);

// Reads and decodes a whole file. Raises ETextFileError when the file cannot be read.
TDecodedText ReadEncodedTextFile(const std::filesystem::path& path);

// The text of ReadEncodedTextFile, for callers that do not keep the encoding.
std::string ReadTextFile(const std::filesystem::path& path);

// The bytes of UTF-8 `text` in `encoding`, or nothing when the text holds a character that the
// encoding cannot represent (or is not valid UTF-8, for Shift-JIS).
std::optional<std::string> EncodeText(std::string_view text, FileEncoding encoding);

// Writes UTF-8 `text` atomically in `encoding`, or in UTF-8 when `encoding` cannot represent
// it; returns the encoding written. Raises ETextFileError on failure.
FileEncoding WriteTextFile(const std::filesystem::path& path, std::string_view text,
                           FileEncoding encoding);

// Splits a text into its lines at CR LF, lone LF and lone CR. A text ending with a line break
// ends with one empty line; an empty text is one empty line.
std::vector<std::string> SplitTextLines(std::string_view text);
// Calls `line(offset, length)` for each line of `text` as SplitTextLines splits it, in order.
// Line feeds are found by memchr, and a carriage return is only searched for before the next
// feed: lines are scanned at the library's speed instead of a byte at a time. The next feed
// is kept while lone carriage returns end the lines before it.
template <typename Line>
void ForEachTextLine(std::string_view text, Line&& line) {
    if (text.empty()) {
        line(std::size_t{0}, std::size_t{0});
        return;
    }
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto nextFeed = [end](const char* from) {
        const void* found = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* start = begin;
    const char* feed = nextFeed(start);  // the next line feed at or after start, or end
    while (start != end) {
        if (const void* cr = std::memchr(start, '\r', static_cast<std::size_t>(feed - start))) {
            const char* at = static_cast<const char*>(cr);
            line(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(at - start));
            start = at + 1;
            if (start != feed) continue;  // a lone carriage return
            if (feed == end) break;       // one at the very end
            ++start;                      // CR LF
        } else {
            if (feed == end) break;
            line(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(feed - start));
            start = feed + 1;
        }
        feed = nextFeed(start);
    }
    line(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(end - start));
}
// The number of lines SplitTextLines gives for the usual line breaks (lone CRs add more).
std::size_t CountLinesByFeeds(std::string_view text);

// Replaces the file at `path` by `bytes` atomically (see above). Raises ETextFileError and
// leaves the old file untouched on failure.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tallyon
