// The settings record: every choice that survives the end of the program, as one plain struct
// named by the stored value names, plus one table that describes each field (stored name,
// kind, member, loading rules) so that loading, saving and the options dialog walk the same
// list.
//
// The struct's member initialisers are the initial values: the values the record holds before
// the stored settings are read, which stay in force for any value that is never read. The
// table carries no initial values of its own (a fresh `TSettingsRecord{}` holds them, so each
// is written exactly once), only what a value that is absent from the store turns into.
//
// Colours use the toolkit's colour encoding: 0x00BBGGRR for a colour given by red, green and
// blue, or 0x80000000 plus the index of a system colour. The store keeps them as 32-bit
// integers (so system colours appear negative there).
#pragma once

#include <array>
#include <cstdint>
#include <limits>
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

    // Key map actions, as TKeyAction stores them.
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

    // Ask before discarding a modified document. On until the store says otherwise, so that a
    // first run (or a store that lost this value) never drops the user's work unasked.
    bool OptQueryDiscard = true;
    bool OptStayOnTop = false;
    bool OptSemiTransparent = false;         // semi-transparent while inactive
    bool OptSimpleMode = false;              // simple window style
    bool OptAutomaticallyCopyState = false;  // answers go to the clipboard automatically
};

// What a Return key does. The key map stores the number; any other stored value breaks the
// line.
enum class TKeyAction { Calculate = 1, CarriageReturn = 2, LineBreak = 3 };

// The action a stored key-map value stands for.
constexpr TKeyAction KeyActionOf(int stored) {
    if (stored == static_cast<int>(TKeyAction::Calculate)) return TKeyAction::Calculate;
    if (stored == static_cast<int>(TKeyAction::CarriageReturn)) return TKeyAction::CarriageReturn;
    return TKeyAction::LineBreak;
}

// Whether texts shown in `language` are English: 1 is English; every other value, the
// not-yet-chosen 0 included, is Japanese.
constexpr bool IsEnglish(int language) {
    return language == 1;
}

enum class TSettingKind { Integer, Boolean, Text, Colour };

// The groups the options are read in. A group is read value by value in table order; the
// first value that cannot be read ends the group, and what was read before it stays.
enum class TSettingGroup : std::uint8_t {
    Numbers,  // led by OptNumFormat: formats, key map, language, hints
    Font,     // led by FontName: the document font
    Recall,   // always read: recall, colours, window switches, automatic copy
};

// What loading does when a value does not exist in the store.
enum class TSettingAbsent : std::uint8_t {
    EndsGroup,   // the group ends, as for a value that cannot be read
    TakesValue,  // the field takes `AbsentValue` (a text reads as empty) and the group goes on
    // The value leads a run: the following EndsGroup values up to the next lead or the end of
    // the group. When the lead is absent, the whole run is skipped and each of its fields
    // takes its `AbsentValue` (kKeepValue: keeps what it holds); the group goes on.
    LeadsRun,
};

// How a value is adjusted after it is read.
enum class TSettingReplace : std::uint8_t {
    None,
    ZeroByInitial,  // 0 becomes the initial value, once the group has been read without failure
                    // (also when the group was skipped)
    EmptyByPattern, // an empty text becomes kDefaultNumFormatStr
};

// When a field goes back to its initial value during loading, before it is read.
enum class TSettingReset : std::uint8_t {
    None,
    AtGroupStart,  // as soon as its group is read, whether or not the walk reaches it
    WhenReached,   // when the walk reaches the first of a block of such fields (font style)
};

// AbsentValue of a field that keeps its value when its run is skipped.
inline constexpr int kKeepValue = std::numeric_limits<int>::min();

// One stored option: its value name, the record member it fills (the variant's alternative is
// the kind, in the order of TSettingKind) and its loading rules.
struct TSettingField {
    using TMember = std::variant<int TSettingsRecord::*, bool TSettingsRecord::*,
                                 std::string TSettingsRecord::*, TColour TSettingsRecord::*>;
    std::string_view Name;
    TMember Member;
    TSettingGroup Group;
    TSettingAbsent Absent = TSettingAbsent::EndsGroup;
    int AbsentValue = kKeepValue;  // Booleans as 0 and 1
    TSettingReplace Replace = TSettingReplace::None;
    TSettingReset Reset = TSettingReset::None;

    constexpr TSettingKind Kind() const { return static_cast<TSettingKind>(Member.index()); }
};

// The value that leads each group; empty for a group that is always read. A group whose lead
// does not exist in the store is skipped whole.
struct TSettingGroupLead {
    TSettingGroup Group;
    std::string_view Lead;
};
inline constexpr std::array<TSettingGroupLead, 3> kSettingGroupLeads{{
    {TSettingGroup::Numbers, "OptNumFormat"},
    {TSettingGroup::Font, "FontName"},
    {TSettingGroup::Recall, ""},
}};

// Every option of the record, in the order loading reads them; saving writes the same list.
// Loading is tolerant by design: a settings store damaged by hand loses only the rest of the
// group where the damage is.
inline constexpr std::array<TSettingField, 30> kSettingFields{{
    // clang-format off
    {"OptNumFormat", &TSettingsRecord::OptNumFormat, TSettingGroup::Numbers},
    {"OptPrecision", &TSettingsRecord::OptPrecision, TSettingGroup::Numbers,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::ZeroByInitial},
    {"OptDigits", &TSettingsRecord::OptDigits, TSettingGroup::Numbers},
    {"OptNumFormatStr", &TSettingsRecord::OptNumFormatStr, TSettingGroup::Numbers,
     TSettingAbsent::TakesValue, kKeepValue, TSettingReplace::EmptyByPattern},
    {"OptNumFormatClipboard", &TSettingsRecord::OptNumFormatClipboard, TSettingGroup::Numbers,
     TSettingAbsent::TakesValue, 0},
    {"OptNumFormatArray", &TSettingsRecord::OptNumFormatArray, TSettingGroup::Numbers,
     TSettingAbsent::TakesValue, 1},
    {"OptReturn", &TSettingsRecord::OptReturn, TSettingGroup::Numbers,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::ZeroByInitial},
    {"OptShiftReturn", &TSettingsRecord::OptShiftReturn, TSettingGroup::Numbers,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::ZeroByInitial},
    {"OptCtrlReturn", &TSettingsRecord::OptCtrlReturn, TSettingGroup::Numbers,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::ZeroByInitial},
    {"Language", &TSettingsRecord::Language, TSettingGroup::Numbers},
    {"TipHint", &TSettingsRecord::TipHint, TSettingGroup::Numbers},

    {"FontCharset", &TSettingsRecord::FontCharset, TSettingGroup::Font},
    {"FontName", &TSettingsRecord::FontName, TSettingGroup::Font, TSettingAbsent::TakesValue},
    {"FontSize", &TSettingsRecord::FontSize, TSettingGroup::Font},
    // The style is cleared once name and size are in, then added value by value.
    {"FontBold", &TSettingsRecord::FontBold, TSettingGroup::Font, TSettingAbsent::EndsGroup,
     kKeepValue, TSettingReplace::None, TSettingReset::WhenReached},
    {"FontItalic", &TSettingsRecord::FontItalic, TSettingGroup::Font, TSettingAbsent::EndsGroup,
     kKeepValue, TSettingReplace::None, TSettingReset::WhenReached},
    {"FontUnderline", &TSettingsRecord::FontUnderline, TSettingGroup::Font,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::None, TSettingReset::WhenReached},

    {"OptRecallLastFile", &TSettingsRecord::OptRecallLastFile, TSettingGroup::Recall},
    {"OptRecallLastVariables", &TSettingsRecord::OptRecallLastVariables, TSettingGroup::Recall},
    {"RecallFileName", &TSettingsRecord::RecallFileName, TSettingGroup::Recall,
     TSettingAbsent::TakesValue},
    {"RecallVariablesFileName", &TSettingsRecord::RecallVariablesFileName,
     TSettingGroup::Recall, TSettingAbsent::TakesValue},
    // The colours take their defaults whenever this group is read; stored ones replace them.
    {"OptColorBack", &TSettingsRecord::OptColorBack, TSettingGroup::Recall,
     TSettingAbsent::LeadsRun, kKeepValue, TSettingReplace::None, TSettingReset::AtGroupStart},
    {"OptColorExpression", &TSettingsRecord::OptColorExpression, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::None, TSettingReset::AtGroupStart},
    {"OptColorArrow", &TSettingsRecord::OptColorArrow, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::None, TSettingReset::AtGroupStart},
    {"OptColorAnswer", &TSettingsRecord::OptColorAnswer, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, kKeepValue, TSettingReplace::None, TSettingReset::AtGroupStart},
    {"OptQueryDiscard", &TSettingsRecord::OptQueryDiscard, TSettingGroup::Recall,
     TSettingAbsent::LeadsRun, 1},
    {"OptStayOnTop", &TSettingsRecord::OptStayOnTop, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, 0},
    {"OptSemiTransparent", &TSettingsRecord::OptSemiTransparent, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, 1},
    {"OptSimpleMode", &TSettingsRecord::OptSimpleMode, TSettingGroup::Recall,
     TSettingAbsent::EndsGroup, 0},
    {"OptAutomaticallyCopyState", &TSettingsRecord::OptAutomaticallyCopyState,
     TSettingGroup::Recall, TSettingAbsent::LeadsRun, 0},
    // clang-format on
}};

// The field of the table named `name` (exact spelling), or nullptr.
inline const TSettingField* FindSettingField(std::string_view name) {
    for (const TSettingField& field : kSettingFields)
        if (field.Name == name) return &field;
    return nullptr;
}

}  // namespace tallyon
