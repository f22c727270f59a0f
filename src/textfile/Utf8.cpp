// Whole-text UTF-8 checks over the character decoder of Utf8.h.
#include "textfile/Utf8.h"

namespace tallyon {

bool IsValidUtf8(std::string_view text) {
    char32_t code = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = DecodeUtf8(text, pos, code);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

std::size_t Utf8CharacterCount(std::string_view text) {
    std::size_t count = 0;
    char32_t code = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        const std::size_t length = DecodeUtf8(text, pos, code);
        pos += length == 0 ? 1 : length;
    }
    return count;
}

}  // namespace tallyon
