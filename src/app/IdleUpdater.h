// Runs a piece of work each time the program falls idle: whenever the event loop is about to
// wait for the next event. Qt has no idle-time update of commands, so the main window's
// enable rules hang on this.
#pragma once

#include <QObject>
#include <functional>

namespace tallyon {

class IdleUpdater : public QObject {
    Q_OBJECT
public:
    IdleUpdater(QObject* parent, std::function<void()> work);

    // Runs the work now (tests, and callers that must see the states at once).
    void runNow();

private:
    std::function<void()> work_;
    bool running_ = false;  // the work itself may spin the loop (a dialog); no re-entry
};

}  // namespace tallyon
