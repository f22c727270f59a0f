// The text forms in which arrays travel over the clipboard.
//
// Inside the program an array is a comma list ("1,2,3"; engine/VariableList.h reads and
// writes it). On the clipboard it is a list of numbers in the array format the user chose
// (`OptNumFormatArray`): separated by commas, TABs, spaces or line breaks. One table gives,
// for each format, the separator written between elements, how the clipboard's text is split
// when one element is replaced, and the pattern that turns the clipboard's separators into
// commas when the text becomes "_CLIP".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallyon {

struct TArrayFormat {
    std::string_view Separator;  // written between elements, never after the last
    char Delimiter;              // of the delimited reading; '\0' reads one item per line
    std::string_view Pattern;    // normalising pattern, in the pattern engine's syntax
};

// The format of an `OptNumFormatArray` value: 0 comma, 1 TAB, 2 space, 3 CR LF; any other
// value separates by commas and normalises runs of blanks.
const TArrayFormat& ArrayFormat(int arrayFormat);

// Line reading: one item per line, a line ending at CR, LF or CR LF; a line break at the very
// end adds no empty item. An empty text gives no items.
std::vector<std::string> ReadLineList(std::string_view text);

// The clipboard's text as a list of items in `arrayFormat`: line reading for CR LF, otherwise
// the delimited reading with the format's delimiter.
std::vector<std::string> ReadArrayText(std::string_view text, int arrayFormat);

// Reads `commaList` and joins its items with the separator of `arrayFormat`, unquoted.
std::string JoinArrayText(std::string_view commaList, int arrayFormat);

}  // namespace tallyon
