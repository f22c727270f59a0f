// The clipboard's array formats and the line reading; the delimited reading and the comma
// list writing are the engine's own (engine/VariableList.h), so arrays read the same whether
// they come from a variable or from the clipboard.
#include "clipboard/ArrayText.h"

#include <array>

#include "engine/VariableList.h"

namespace tallyon {

namespace {

// Patterns use the engine's two-character escapes: "\t" is a TAB, "\r\n" a CR LF. The CR LF
// pattern replaces a line break only with blanks before it and one blank after it; other line
// breaks need no replacing, since blanks and line breaks separate elements anyway.
constexpr std::array<TArrayFormat, 4> kArrayFormats{{
    {",", ',', "[ \\t]+,[ \\t]+"},
    {"\t", '\t', "[ \\t]+,[ \\t]+"},
    {" ", ' ', "[ \\t]+,[ \\t]+"},
    {"\r\n", '\0', "[ \\t]+\\r\\n[ \\t]"},
}};
constexpr TArrayFormat kOtherArrayFormat{",", ',', "[ \\t]+"};

}  // namespace

const TArrayFormat& ArrayFormat(int arrayFormat) {
    if (arrayFormat < 0 || arrayFormat >= static_cast<int>(kArrayFormats.size()))
        return kOtherArrayFormat;
    return kArrayFormats[static_cast<size_t>(arrayFormat)];
}

std::vector<std::string> ReadLineList(std::string_view text) {
    std::vector<std::string> items;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            items.emplace_back(text.substr(begin));
            break;
        }
        items.emplace_back(text.substr(begin, end - begin));
        begin = end + 1;
        if (text[end] == '\r' && begin < text.size() && text[begin] == '\n') ++begin;
    }
    return items;
}

std::vector<std::string> ReadArrayText(std::string_view text, int arrayFormat) {
    const char delimiter = ArrayFormat(arrayFormat).Delimiter;
    if (delimiter == '\0') return ReadLineList(text);
    return ReadDelimitedList(text, delimiter);
}

std::string JoinArrayText(std::string_view commaList, int arrayFormat) {
    const std::string_view separator = ArrayFormat(arrayFormat).Separator;
    std::string out;
    bool first = true;
    for (const std::string& item : ReadCommaList(commaList)) {
        if (!first) out += separator;
        out += item;
        first = false;
    }
    return out;
}

}  // namespace tallyon
