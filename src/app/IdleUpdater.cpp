// The idle hook on the event dispatcher.
#include "app/IdleUpdater.h"

#include <QAbstractEventDispatcher>
#include <QThread>

namespace tallyon {

IdleUpdater::IdleUpdater(QObject* parent, std::function<void()> work)
    : QObject(parent), work_(std::move(work)) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleUpdater::runNow);
}

void IdleUpdater::runNow() {
    if (running_ || !work_) return;
    running_ = true;
    try {
        work_();
    } catch (...) {
        // An enable rule that fails leaves the states as they were; the next idle pass
        // tries again.
    }
    running_ = false;
}

}  // namespace tallyon
