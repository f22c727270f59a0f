// The main window's hint switch: while it is off, no widget of the window shows a tool tip.
// The switch reads its state when a tool tip is due, so whoever changes the setting changes
// the window at once.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace tallyon {

class HintSwitch : public QObject {
public:
    // Watches the tool tips of `window` and its widgets; `on` tells whether hints are shown.
    HintSwitch(QWidget* window, std::function<bool()> on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<bool()> on_;
};

}  // namespace tallyon
