// The named colours the options dialog offers, in the order its lists show them, with their
// values in the settings' colour encoding (0x00BBGGRR, or 0x80000000 plus the index of a
// system colour). Two names are special values rather than colours: clDefault and clNone.
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "settings/SettingsRecord.h"

namespace tallyon {

struct TColourName {
    std::string_view Name;
    TColour Value;
};

inline constexpr TColour SystemColour(unsigned index) {
    return kSystemColourFlag | index;
}

inline constexpr std::array<TColourName, 52> kColourNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", SystemColour(10)},
    {"clActiveCaption", SystemColour(2)},
    {"clAppWorkSpace", SystemColour(12)},
    {"clBackground", SystemColour(1)},
    {"clBtnFace", SystemColour(15)},
    {"clBtnHighlight", SystemColour(20)},
    {"clBtnShadow", SystemColour(16)},
    {"clBtnText", SystemColour(18)},
    {"clCaptionText", SystemColour(9)},
    {"clDefault", 0x20000000},
    {"clGradientActiveCaption", SystemColour(27)},
    {"clGradientInactiveCaption", SystemColour(28)},
    {"clGrayText", SystemColour(17)},
    {"clHighlight", SystemColour(13)},
    {"clHighlightText", SystemColour(14)},
    {"clHotLight", SystemColour(26)},
    {"clInactiveBorder", SystemColour(11)},
    {"clInactiveCaption", SystemColour(3)},
    {"clInactiveCaptionText", SystemColour(19)},
    {"clInfoBk", SystemColour(24)},
    {"clInfoText", SystemColour(23)},
    {"clMenu", SystemColour(4)},
    {"clMenuBar", SystemColour(30)},
    {"clMenuHighlight", SystemColour(29)},
    {"clMenuText", SystemColour(7)},
    {"clNone", 0x1FFFFFFF},
    {"clScrollBar", SystemColour(0)},
    {"cl3DDkShadow", SystemColour(21)},
    {"cl3DLight", SystemColour(22)},
    {"clWindow", SystemColour(5)},
    {"clWindowFrame", SystemColour(6)},
    {"clWindowText", SystemColour(8)},
}};

// The index in kColourNames of the entry whose value is `colour`, or -1 when no name has it.
inline int ColourNameIndex(TColour colour) {
    for (std::size_t i = 0; i < kColourNames.size(); ++i)
        if (kColourNames[i].Value == colour) return static_cast<int>(i);
    return -1;
}

// The name of `colour`, or "$" and its eight hexadecimal digits when it has none.
inline std::string ColourToString(TColour colour) {
    const int index = ColourNameIndex(colour);
    if (index >= 0) return std::string(kColourNames[index].Name);
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
    return text;
}

// The value of the colour called `name` (exact spelling), if there is one.
inline std::optional<TColour> ColourFromName(std::string_view name) {
    for (const TColourName& entry : kColourNames)
        if (entry.Name == name) return entry.Value;
    return std::nullopt;
}

}  // namespace tallyon
