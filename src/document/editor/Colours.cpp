// The table of named system colours and the conversions of the colour encoding.
#include "document/editor/Colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace tallyon {

namespace {

// Named system colours by index, with the palette entry that plays the same part here.
struct SystemColour {
    unsigned index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
constexpr SystemColour kSystemColours[] = {
    {0, QPalette::Active, QPalette::Button},              // scroll bar
    {1, QPalette::Active, QPalette::Dark},                // desktop
    {2, QPalette::Active, QPalette::Highlight},           // active caption
    {3, QPalette::Inactive, QPalette::Highlight},         // inactive caption
    {4, QPalette::Active, QPalette::Window},              // menu
    {5, QPalette::Active, QPalette::Base},                // window background
    {6, QPalette::Active, QPalette::Shadow},              // window frame
    {7, QPalette::Active, QPalette::WindowText},          // menu text
    {8, QPalette::Active, QPalette::Text},                // window text
    {9, QPalette::Active, QPalette::HighlightedText},     // caption text
    {10, QPalette::Active, QPalette::Window},             // active border
    {11, QPalette::Inactive, QPalette::Window},           // inactive border
    {12, QPalette::Active, QPalette::Mid},                // application workspace
    {13, QPalette::Active, QPalette::Highlight},          // highlight
    {14, QPalette::Active, QPalette::HighlightedText},    // highlighted text
    {15, QPalette::Active, QPalette::Button},             // button face
    {16, QPalette::Active, QPalette::Dark},               // button shadow
    {17, QPalette::Disabled, QPalette::Text},             // grey text
    {18, QPalette::Active, QPalette::ButtonText},         // button text
    {19, QPalette::Inactive, QPalette::HighlightedText},  // inactive caption text
    {20, QPalette::Active, QPalette::Light},              // button highlight
    {21, QPalette::Active, QPalette::Shadow},             // 3D dark shadow
    {22, QPalette::Active, QPalette::Midlight},           // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},        // tool tip text
    {24, QPalette::Active, QPalette::ToolTipBase},        // tool tip background
    {26, QPalette::Active, QPalette::Link},               // hot-tracked item
    {27, QPalette::Active, QPalette::Highlight},          // active caption gradient
    {28, QPalette::Inactive, QPalette::Highlight},        // inactive caption gradient
    {29, QPalette::Active, QPalette::Highlight},          // menu highlight
    {30, QPalette::Active, QPalette::Window},             // menu bar
};

}  // namespace

QColor ToQColor(TColour colour) {
    if ((colour & kSystemColourFlag) == 0)
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    const QPalette palette = QGuiApplication::palette();
    const unsigned index = colour & 0xFF;
    for (const SystemColour& entry : kSystemColours)
        if (entry.index == index) return palette.color(entry.group, entry.role);
    return palette.color(QPalette::Active, QPalette::Text);
}

TColour FromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<TColour>(rgb.red()) | (static_cast<TColour>(rgb.green()) << 8) |
           (static_cast<TColour>(rgb.blue()) << 16);
}

}  // namespace tallyon
