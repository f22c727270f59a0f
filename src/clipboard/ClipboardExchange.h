// Clipboard exchange: how numbers travel between the calculation and the system clipboard's
// plain text.
//
// Three roads, each run by the calculation through its hooks (document/CalcDocument.h):
//   - before a calculation, LoadClipboardVariable reads the clipboard, trims it, turns its
//     separators into commas (NormaliseClipboardText) and stores the result as "_CLIP" in the
//     variables list, so expressions read the clipboard as a number or an array;
//   - an assignment to "_CLIP" or one of its elements (PutClipboardValue) writes the value,
//     or rewrites one element of the clipboard's list in the chosen array format;
//   - after a calculation that may copy, CopyAnswerToClipboard puts the answer there when
//     automatic copying is on.
// The clipboard itself sits behind IClipboardText, so this unit needs no windowing toolkit;
// the program plugs in the system clipboard (QtClipboardText.h), tests a fake.
#pragma once

#include <string>
#include <string_view>

#include "regex/DfaRegExp.h"

namespace tallyon {

struct TCalcHooks;
struct TSettingsRecord;
class TVariableList;

// The clipboard as plain UTF-8 text. Every call is one complete operation on the clipboard.
class IClipboardText {
public:
    virtual ~IClipboardText() = default;
    // The clipboard's text; empty when it holds none.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

// Element indexes up to this one may lie beyond the end of the clipboard's list, which is
// then padded with "0" items; past it only items the list already has can be replaced.
// Arrays hold elements 0 to 99, and the bound keeps a stray index from padding without end.
inline constexpr int kMaxPaddedClipboardIndex = 99;

// The clipboard's side of the calculation. Links (never owns) the clipboard, the variables
// list and the settings record, which must outlive it.
class TClipboardExchange {
public:
    TClipboardExchange(IClipboardText& clipboard, TVariableList& variables,
                       TSettingsRecord& settings);
    TClipboardExchange(const TClipboardExchange&) = delete;
    TClipboardExchange& operator=(const TClipboardExchange&) = delete;

    // Trims codes 0..32 from both ends of `text` and replaces every match of the array
    // format's pattern by ",": the value "_CLIP" takes from the clipboard's text.
    std::string NormaliseClipboardText(std::string_view text);

    // Sets "_CLIP" in the variables list (not in any window) to the normalised clipboard
    // text; an empty result removes the name.
    void LoadClipboardVariable();

    // An assignment of `value` (general number text) to "_CLIP" (index -1) or to its element
    // `index`. With clipboard number format 1 the value goes out formatted like an answer.
    // An element assignment reads the clipboard's list in the array format, pads it with "0"
    // up to the index, replaces the element and writes the list back in the array format.
    // Raises std::out_of_range for an index below -1, or one beyond both the list and
    // kMaxPaddedClipboardIndex, leaving the clipboard unchanged; a value that clipboard
    // number format 1 cannot format raises too (the engine absorbs either as a failed
    // assignment).
    void PutClipboardValue(const std::string& value, int index);

    // After a calculated line that may copy: when automatic copying is on, the clipboard
    // takes `answer` (clipboard number format 1) or the general number text of `value`.
    void CopyAnswerToClipboard(const std::string& answer, double value);

    // Automatic copying (`OptAutomaticallyCopyState`): Toggle inverts it and returns the
    // new state, for the command's check mark.
    bool AutomaticCopy() const;
    bool ToggleAutomaticCopy();

    // Points the calculation's three clipboard hooks at this object.
    void ConnectHooks(TCalcHooks& hooks);

private:
    // The pattern engine instance that normalises clipboard text: UTF-8, CR LF line
    // separator, both dictionaries off; its pattern is set before every use.
    TPatternString PatternStr1{TTextEncoding::teUtf8};
    IClipboardText& clipboard_;
    TVariableList& variables_;
    TSettingsRecord& settings_;
};

}  // namespace tallyon
