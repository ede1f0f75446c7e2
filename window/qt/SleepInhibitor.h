#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <optional>

namespace canprog::window {

// Keeps the system from sleeping while a module is written or read: a "sleep:idle" lock of
// logind's, held as the file descriptor logind hands out and released by closing it. The call
// goes out without waiting, so that the window never stops on a slow bus; a system without
// logind or D-Bus simply goes on.
class SleepInhibitor : public QObject {
    Q_OBJECT
  public:
    explicit SleepInhibitor(QDBusConnection bus = QDBusConnection::systemBus());

    void hold();
    void release();
    // Whether logind's lock is held now.
    bool held() const { return lock_.has_value(); }

  private:
    QDBusConnection bus_;
    std::optional<QDBusUnixFileDescriptor> lock_;
    bool wanted_ = false;
    bool asking_ = false;
};

}  // namespace canprog::window
