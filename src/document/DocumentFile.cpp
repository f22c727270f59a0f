// Document files over the text-file layer (see DocumentFile.h).
#include "document/DocumentFile.h"

namespace tallyon {

std::string JoinDocumentLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string ReadDocumentText(const std::filesystem::path& path, FileEncoding& encoding) {
    TDecodedText decoded = ReadEncodedTextFile(path);
    encoding = decoded.Encoding;
    return std::move(decoded.Text);
}

std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path,
                                          FileEncoding& encoding) {
    return SplitTextLines(ReadDocumentText(path, encoding));
}

std::vector<std::string> ReadDocumentFile(const std::filesystem::path& path) {
    FileEncoding encoding = FileEncoding::Utf8;
    return ReadDocumentFile(path, encoding);
}

FileEncoding WriteDocumentFile(const std::filesystem::path& path,
                               const std::vector<std::string>& lines, FileEncoding encoding) {
    return WriteDocumentText(path, JoinDocumentLines(lines), encoding);
}

FileEncoding WriteDocumentText(const std::filesystem::path& path, std::string_view text,
                               FileEncoding encoding) {
    return WriteTextFile(path, text, encoding);
}

}  // namespace tallyon
