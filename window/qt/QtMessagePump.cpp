#include "QtMessagePump.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdint>
#include <memory>

namespace canprog::window {

void QtMessagePump::processMessages(Wait wait, serial::WaitHandle arrival) {
    if (wait == Wait::UntilActivity) {
        // On this system the handle is a descriptor that stays readable until it is read.
        const int arrivalFd = arrival.valid() ? static_cast<int>(arrival.native()) : -1;
        // Sleep in the event loop until an event comes, a byte arrives or a tick falls due.
        const auto timeout_ms = form_.untilNextTick(kLongestSleep).count();
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(static_cast<int>(timeout_ms));
        std::unique_ptr<QSocketNotifier> arrival;
        if (arrivalFd >= 0)
            arrival = std::make_unique<QSocketNotifier>(arrivalFd, QSocketNotifier::Read);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (arrivalFd >= 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(arrivalFd, &count, sizeof count);
        }
    }
    form_.deliverDueTick();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessagePump::sleep(std::chrono::milliseconds duration) {
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

}  // namespace canprog::window
