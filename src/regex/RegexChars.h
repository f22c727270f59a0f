// Characters of the pattern engine: how a byte string is read as a sequence of character
// codes, the reserved pseudo-codes of the automaton, the any-character set of ".", and the
// error class with its message table.
//
// One engine serves two text encodings through a small decoding policy (TCharCodec):
// - Shift-JIS: a character is one byte, or a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a
//   trail byte (0x40-0x7E, 0x80-0xFC), whose code is lead * 256 + trail. A lead byte that is
//   not followed by a trail byte stands alone as a one-byte character, so a line break or a
//   control character after a stray lead byte is never swallowed. The pseudo-codes are
//   0xFFFD (line head), 0xFFFE (line tail) and 0xFFFF (epsilon), above every text code.
// - UTF-8: a character is one code point, decoded strictly (no overlong forms, surrogates
//   or values above 0x10FFFF). Every byte that does not begin a well-formed sequence is one
//   character of its own, with the code 0xDC00 + byte (0xDC80-0xDCFF, a range no
//   well-formed sequence decodes to), so any byte string reads deterministically and no
//   read goes past the end. The pseudo-codes are 0x110000, 0x110001 and 0x110002, above
//   every code point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tallyon {

using TCharCode = std::uint32_t;

// An inclusive range of character codes; lo <= hi.
struct TCodeRange {
    TCharCode lo;
    TCharCode hi;
    bool operator==(const TCodeRange&) const = default;
};

enum class TTextEncoding { teShiftJis, teUtf8 };

// The messages of EPatternError, one table for the whole engine. The texts are shown to
// the user as they stand.
namespace PatternMessage {
inline constexpr const char* kBadDoubleByte = "不正な２バイト文字コードです。";
inline constexpr const char* kBackslashAtEnd = "\"\\\"の次には文字が必要です。";
inline constexpr const char* kBadHex = "不正な１６進数コード表記です。";
inline constexpr const char* kBadOctal = "不正な８進数コード表記です。";
inline constexpr const char* kNoCloseBracket = "右ブラケット\"]\"が必要です";
inline constexpr const char* kBadRange = "不正なキャラクタ範囲です";
inline constexpr const char* kBadClass = "不正なキャラクタクラス指定です。";
inline constexpr const char* kNoCloseParen = "右(閉じ)括弧が必要です";
inline constexpr const char* kNeedPrimary = "普通の文字、または左括弧\"(\"が必要です";
inline constexpr const char* kExtraText = "正規表現に余分な文字があります";
// Raised when a pattern's automaton would outgrow the engine's bounds (see RegexDfa.h).
inline constexpr const char* kTooComplex = "正規表現が複雑すぎます";
// Raised when groups nest deeper than the parser allows.
inline constexpr const char* kTooDeep = "括弧の入れ子が深すぎます";
}  // namespace PatternMessage

// A malformed pattern or replacement text. Position is 1-based: the byte of the text at
// which the scanner stood (the next byte it would read) when the fault was found; the
// length of the text plus one when the fault is its end.
class EPatternError : public std::runtime_error {
public:
    EPatternError(const std::string& message, std::size_t position)
        : std::runtime_error(message), position_(position) {}
    std::string Message() const { return what(); }
    std::size_t Position() const { return position_; }

private:
    std::size_t position_;
};

// The decoding policy of one encoding. Cheap to copy; all members are pure functions of the
// encoding.
class TCharCodec {
public:
    explicit TCharCodec(TTextEncoding encoding);

    TTextEncoding Encoding() const { return encoding_; }
    TCharCode LineHeadCode() const { return lineHead_; }
    TCharCode LineTailCode() const { return lineTail_; }
    TCharCode EpsilonCode() const { return lineTail_ + 1; }
    // The largest code a text can hold; pattern ranges are clipped to it so that no range
    // ever reaches a pseudo-code.
    TCharCode MaxTextCode() const { return maxText_; }
    // The set of ".": every character but 0, LF and CR, as sorted disjoint ranges.
    const std::vector<TCodeRange>& AnyCharRanges() const { return any_; }

    // Reads the character at `pos` (< text.size()) into `code`; returns its length in bytes
    // (1 or more, never past the end).
    std::size_t Decode(std::string_view text, std::size_t pos, TCharCode& code) const {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            code = b;
            return 1;
        }
        return DecodeWide(text, pos, code);
    }
    // Length in bytes of the character at `pos` (< text.size()).
    std::size_t Length(std::string_view text, std::size_t pos) const {
        TCharCode code;
        return Decode(text, pos, code);
    }
    // True when the byte is a Shift-JIS lead byte (always false in UTF-8).
    bool IsLeadByte(unsigned char b) const {
        return encoding_ == TTextEncoding::teShiftJis &&
               ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
    // Appends the bytes of a code produced by an escape. Shift-JIS: one byte below 256,
    // otherwise high byte then low byte. UTF-8: the code point's sequence; 0xDC80-0xDCFF
    // (the codes of stray bytes) and every other surrogate give U+FFFD, so an escape never
    // writes malformed text.
    void Encode(TCharCode code, std::string& out) const;

private:
    std::size_t DecodeWide(std::string_view text, std::size_t pos, TCharCode& code) const;

    TTextEncoding encoding_;
    TCharCode lineHead_;
    TCharCode lineTail_;
    TCharCode maxText_;
    std::vector<TCodeRange> any_;
};

}  // namespace tallyon
