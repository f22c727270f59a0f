// Whole-text UTF-8 checks over the character decoder of Utf8.h.
#include "textfile/Utf8.h"

#include <cstdint>
#include <cstring>

namespace tallyon {

bool IsValidUtf8(std::string_view text) {
    char32_t code = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        // Runs of ASCII, by far the most common text, are passed eight bytes at a time.
        while (pos + 8 <= text.size()) {
            std::uint64_t block;
            std::memcpy(&block, text.data() + pos, sizeof block);
            if ((block & 0x8080808080808080ull) != 0) break;
            pos += 8;
        }
        if (pos >= text.size()) break;
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
