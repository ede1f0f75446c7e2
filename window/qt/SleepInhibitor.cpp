#include "SleepInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace canprog::window {

namespace {
constexpr int kCallTimeout_ms = 5000;
}  // namespace

SleepInhibitor::SleepInhibitor(QDBusConnection bus) : bus_(std::move(bus)) {}

void SleepInhibitor::hold() {
    wanted_ = true;
    if (lock_ || asking_ || !bus_.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("canprog")
         << QStringLiteral("A module is being written or read") << QStringLiteral("block");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeout_ms), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *finished;
                asking_ = false;
                // An answer that comes after the operation ended is let go at once.
                if (!reply.isError() && wanted_) lock_ = reply.value();
                finished->deleteLater();
            });
}

void SleepInhibitor::release() {
    wanted_ = false;
    lock_.reset();  // closing the descriptor ends the lock
}

}  // namespace canprog::window
