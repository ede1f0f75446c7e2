#include "QtMessagePump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace canprog::window {

void QtMessagePump::processMessages(Wait wait) {
    if (wait == Wait::UntilActivity) {
        // Sleep in the event loop until an event comes or the next tick falls due.
        QTimer wake;
        wake.setSingleShot(true);
        if (const auto due = form_.ticker().nextDue()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                *due - form_.now());
            wake.start(std::max<std::chrono::milliseconds>(left, std::chrono::milliseconds{0}));
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    form_.deliverDueTick();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessagePump::sleep(std::chrono::milliseconds duration) {
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

}  // namespace canprog::window
