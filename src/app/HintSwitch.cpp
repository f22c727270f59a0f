// The hint switch (see HintSwitch.h). Tool tips reach the widget under the pointer first,
// so the filter sits on the application and swallows those meant for the window's widgets.
#include "app/HintSwitch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace tallyon {

HintSwitch::HintSwitch(QWidget* window, std::function<bool()> on)
    : QObject(window), window_(window), on_(std::move(on)) {
    qApp->installEventFilter(this);
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || on_()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == window_;
}

}  // namespace tallyon
