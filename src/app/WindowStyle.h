// The main window's style from the settings: the simple window (a tool window without menu
// bar, tool bar and status bar), staying on top of other windows, and semi-transparency,
// which is on only while the window stays on top and another application is active.
#pragma once

#include "settings/SettingsRecord.h"

class QMainWindow;
class QMenuBar;
class QToolBar;
class QStatusBar;
class QWidget;

namespace tallyon {

// Alpha of the semi-transparent window, of 255.
inline constexpr int kSemiTransparentAlpha = 160;

struct WindowParts {
    QMainWindow* window;
    QMenuBar* menuBar;
    QToolBar* toolBar;
    QStatusBar* statusBar;
};

// Applies OptSimpleMode, OptStayOnTop and OptSemiTransparent; `applicationActive` tells
// whether this program has the foreground now.
void ApplyWindowStyle(const WindowParts& parts, const TSettingsRecord& settings,
                      bool applicationActive);

// Switches semi-transparency of `window` on (alpha 160) or off (opaque).
void SetSemiTransparent(QWidget* window, bool on);
bool IsSemiTransparent(const QWidget* window);

}  // namespace tallyon
