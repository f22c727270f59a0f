// Colours of the document in the settings' encoding: 0x00BBGGRR for a colour given by red,
// green and blue, or 0x80000000 plus the index of a named system colour, which is looked up
// in the application palette so the document follows the desktop's theme.
#pragma once

#include <QColor>

#include "settings/SettingsRecord.h"

namespace tallyon {

// The screen colour of `colour`. An unknown system colour index gives the window text colour.
QColor ToQColor(TColour colour);

// The encoding of an RGB screen colour (alpha dropped).
TColour FromQColor(const QColor& colour);

}  // namespace tallyon
