// Window flags, bars and opacity for the window style.
#include "app/WindowStyle.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace tallyon {

namespace {

// Sets the window flags to `flags` when they differ: a change hides the window, which is then
// shown again where it was.
void setFlags(QWidget* window, Qt::WindowFlags flags) {
    if (window->windowFlags() == flags) return;
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlags(flags);
    if (visible) {
        window->setGeometry(geometry);
        window->show();
    }
}

}  // namespace

void SetSemiTransparent(QWidget* window, bool on) {
    window->setWindowOpacity(on ? kSemiTransparentAlpha / 255.0 : 1.0);
}

bool IsSemiTransparent(const QWidget* window) {
    return window->windowOpacity() < 1.0;
}

void ApplyWindowStyle(const WindowParts& parts, const TSettingsRecord& settings,
                      bool applicationActive) {
    const bool simple = settings.OptSimpleMode;
    // A tool window keeps a thin caption and no system icon.
    Qt::WindowFlags flags = parts.window->windowFlags() & ~Qt::WindowType_Mask;
    flags |= simple ? Qt::Tool : Qt::Window;
    flags.setFlag(Qt::WindowStaysOnTopHint, settings.OptStayOnTop);
    setFlags(parts.window, flags);
    parts.menuBar->setVisible(!simple);
    parts.toolBar->setVisible(!simple);
    parts.statusBar->setVisible(!simple);

    SetSemiTransparent(parts.window,
                       settings.OptStayOnTop && settings.OptSemiTransparent && !applicationActive);
}

}  // namespace tallyon
