// The settings record in the user's settings store, through QSettings in its native format
// under the organisation "Ruvo" and the application "Tallyon" (on Linux the file
// Ruvo/Tallyon.conf in the user's configuration folder). The options sit at the top level; the
// groups MainWnd and Variables hold the placements of the two windows.
//
// Loading walks kSettingFields group by group and never reports anything: a group whose lead
// value is absent is skipped; the first value that is absent (where the table says so) or
// cannot be read ends its group, keeping what was read before it. The store's INI files hand
// every value back as text, so integers and Booleans are parsed strictly: a decimal 32-bit
// integer, optionally signed, with nothing around it; a Boolean is such an integer, true when
// not 0. Anything else is a wrongly typed value. Saving writes every value every time, with
// Booleans as 0 and 1 and colours as signed 32-bit integers.
//
// Nothing here touches a window: loading fills the record and says which placements to use;
// the main window applies them.
#pragma once

#include <QLocale>
#include <QSize>
#include <QString>
#include <optional>

#include "settings/SettingsRecord.h"

class QSettings;

namespace tallyon {

inline constexpr char kSettingsOrganisation[] = "Ruvo";
inline constexpr char kSettingsApplication[] = "Tallyon";

// A window's placement in pixels, as stored: frame left and top, width and height.
struct TPlacement {
    int Left = 0;
    int Width = 0;
    int Top = 0;
    int Height = 0;
    friend bool operator==(const TPlacement&, const TPlacement&) = default;
};

// What loading found for the two windows, besides the record.
struct TLoadedWindows {
    std::optional<TPlacement> MainWnd;     // read and passed the placement check
    std::optional<bool> VariablesVisible;  // read: show or hide the variables window
    std::optional<TPlacement> Variables;   // read with Visible, and passed the placement check
};

// The windows as they are at saving.
struct TWindowsToSave {
    TPlacement MainWnd;
    TPlacement Variables;
    bool VariablesVisible = false;
};

// Whether a stored placement may be used on a screen of `screen` pixels: left and top not
// negative, width and height at least 160, and the whole window on the screen.
bool PlacementFits(const TPlacement& placement, QSize screen);

// Reads the store into `record` (which keeps every value that is not read) and returns the
// window placements to apply; `screen` is the screen size for the placement check.
TLoadedWindows ReadSettingsStore(QSettings& store, TSettingsRecord& record, QSize screen);

// Writes every value of `record` and of `windows`; false when the store could not be written.
bool WriteSettingsStore(QSettings& store, const TSettingsRecord& record,
                        const TWindowsToSave& windows);

// The interface language chosen at the first start: 2 (Japanese) for a Japanese locale, 1
// (English) for every other.
int FirstStartLanguage(const QLocale& locale);

// Strict readers of one stored value; nullopt when the value is absent or wrongly typed. An
// absent text reads as empty.
std::optional<int> ReadStoredInteger(const QSettings& store, const QString& name);
std::optional<bool> ReadStoredBoolean(const QSettings& store, const QString& name);
std::optional<QString> ReadStoredText(const QSettings& store, const QString& name);

}  // namespace tallyon
