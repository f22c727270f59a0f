// The settings record: every choice that survives the end of the program, as one plain struct
// named by the stored value names, plus one table that describes each field (stored name,
// kind, member) so that loading, saving and the options dialog walk the same list.
//
// The struct's member initialisers are the initial values: the values the record holds before
// the stored settings are read, which stay in force for any value that is never read. The
// table carries no defaults of its own: a fresh `TSettingsRecord{}` holds them, so each default
// is written exactly once.
//
// Colours use the toolkit's colour encoding: 0x00BBGGRR for a colour given by red, green and
// blue, or 0x80000000 plus the index of a system colour. The store keeps them as 32-bit
// integers (so system colours appear negative there).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tallyon {

// A colour in the toolkit encoding (see above).
using TColour = std::uint32_t;

inline constexpr TColour kSystemColourFlag = 0x80000000u;
inline constexpr TColour clWindow = 0x80000005u;      // system window background
inline constexpr TColour clWindowText = 0x80000008u;  // system window text
inline constexpr TColour clRed = 0x000000FFu;
inline constexpr TColour clGreen = 0x00008000u;

// The pattern an empty stored `OptNumFormatStr` is read as.
inline constexpr std::string_view kDefaultNumFormatStr = "#,##0.000;-#,##0.000;0.000";

struct TSettingsRecord {
    // Number format of answers: 0 General, 1 Exponent, 2 Fixed, 3 Engineering, 4 the user
    // pattern; any other value formats as General.
    int OptNumFormat = 0;
    int OptPrecision = 18;          // significant digits passed to the number formatter
    int OptDigits = 0;              // exponent width (Exponent) or decimals (Fixed)
    std::string OptNumFormatStr;    // user pattern; empty gives general number text
    int OptNumFormatClipboard = 0;  // 0 maximum precision, 1 as the answer's number format
    int OptNumFormatArray = 0;      // clipboard array separator: 0 comma, 1 TAB, 2 space, 3 CR LF

    // Key map actions: 1 Calculate, 2 Carriage return, 3 (or anything else) Line break.
    int OptReturn = 1;
    int OptShiftReturn = 2;
    int OptCtrlReturn = 3;

    int Language = 0;  // 1 English, 2 Japanese, 0 not chosen yet; texts: 1 English, else Japanese
    bool TipHint = true;  // the main window shows tool tips

    // Document font.
    int FontCharset = 128;  // Shift-JIS character set
    std::string FontName = "ＭＳ ゴシック";
    int FontSize = 9;  // points
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;

    bool OptRecallLastFile = true;        // reopen the last document at start-up
    bool OptRecallLastVariables = true;   // reload the last variables file at start-up
    std::string RecallFileName;           // the document to reopen; empty for none
    std::string RecallVariablesFileName;  // the variables file to reload; empty for none

    TColour OptColorBack = clWindow;
    TColour OptColorExpression = clWindowText;
    TColour OptColorArrow = clRed;
    TColour OptColorAnswer = clGreen;

    bool OptQueryDiscard = false;  // ask before discarding a modified document
    bool OptStayOnTop = false;
    bool OptSemiTransparent = false;         // semi-transparent while inactive
    bool OptSimpleMode = false;              // simple window style
    bool OptAutomaticallyCopyState = false;  // answers go to the clipboard automatically
};

// Whether texts shown in `language` are English: 1 is English; every other value, the
// not-yet-chosen 0 included, is Japanese.
constexpr bool IsEnglish(int language) {
    return language == 1;
}

enum class TSettingKind { Integer, Boolean, Text, Colour };

// One stored setting: its value name and the record member it fills. The variant's
// alternative is the kind, in the order of TSettingKind.
struct TSettingField {
    using TMember = std::variant<int TSettingsRecord::*, bool TSettingsRecord::*,
                                 std::string TSettingsRecord::*, TColour TSettingsRecord::*>;
    std::string_view Name;
    TMember Member;

    constexpr TSettingKind Kind() const { return static_cast<TSettingKind>(Member.index()); }
};

// Every field of the record, in the order the settings are written.
inline constexpr std::array<TSettingField, 30> kSettingFields{{
    {"OptNumFormat", &TSettingsRecord::OptNumFormat},
    {"OptPrecision", &TSettingsRecord::OptPrecision},
    {"OptDigits", &TSettingsRecord::OptDigits},
    {"OptNumFormatStr", &TSettingsRecord::OptNumFormatStr},
    {"OptNumFormatClipboard", &TSettingsRecord::OptNumFormatClipboard},
    {"OptNumFormatArray", &TSettingsRecord::OptNumFormatArray},
    {"OptReturn", &TSettingsRecord::OptReturn},
    {"OptShiftReturn", &TSettingsRecord::OptShiftReturn},
    {"OptCtrlReturn", &TSettingsRecord::OptCtrlReturn},
    {"FontCharset", &TSettingsRecord::FontCharset},
    {"FontName", &TSettingsRecord::FontName},
    {"FontSize", &TSettingsRecord::FontSize},
    {"FontBold", &TSettingsRecord::FontBold},
    {"FontItalic", &TSettingsRecord::FontItalic},
    {"FontUnderline", &TSettingsRecord::FontUnderline},
    {"Language", &TSettingsRecord::Language},
    {"TipHint", &TSettingsRecord::TipHint},
    {"OptRecallLastFile", &TSettingsRecord::OptRecallLastFile},
    {"OptRecallLastVariables", &TSettingsRecord::OptRecallLastVariables},
    {"OptQueryDiscard", &TSettingsRecord::OptQueryDiscard},
    {"OptStayOnTop", &TSettingsRecord::OptStayOnTop},
    {"OptSemiTransparent", &TSettingsRecord::OptSemiTransparent},
    {"OptSimpleMode", &TSettingsRecord::OptSimpleMode},
    {"OptAutomaticallyCopyState", &TSettingsRecord::OptAutomaticallyCopyState},
    {"RecallFileName", &TSettingsRecord::RecallFileName},
    {"RecallVariablesFileName", &TSettingsRecord::RecallVariablesFileName},
    {"OptColorBack", &TSettingsRecord::OptColorBack},
    {"OptColorExpression", &TSettingsRecord::OptColorExpression},
    {"OptColorArrow", &TSettingsRecord::OptColorArrow},
    {"OptColorAnswer", &TSettingsRecord::OptColorAnswer},
}};

// The field of the table named `name` (exact spelling), or nullptr.
inline const TSettingField* FindSettingField(std::string_view name) {
    for (const TSettingField& field : kSettingFields)
        if (field.Name == name) return &field;
    return nullptr;
}

}  // namespace tallyon
