// The window keeps the system awake through logind while it talks to the module: a fake logind
// on a private D-Bus bus hands out the lock and sees it let go.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>

#include "model/MainForm.h"
#include "window/qt/DesktopShell.h"

namespace canprog {
namespace {

// logind's Manager as far as Inhibit goes: each lock is the write end of a pipe, so that the
// read end sees the lock's end when the last copy of it is closed.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public:
    ~FakeLogind() override {
        if (lockEnd_ >= 0) ::close(lockEnd_);
    }

    QString what, mode;
    int locksGiven = 0;

    // Whether the lock handed out last has been let go by everyone who held it.
    bool lockReleased() const {
        pollfd fd{lockEnd_, POLLIN, 0};
        return lockEnd_ >= 0 && ::poll(&fd, 1, 0) == 1 && (fd.revents & (POLLHUP | POLLIN));
    }

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& inhibitWhat, const QString&, const QString&,
                                    const QString& inhibitMode) {
        what = inhibitWhat;
        mode = inhibitMode;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return {};
        if (lockEnd_ >= 0) ::close(lockEnd_);
        lockEnd_ = ends[0];
        QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own goes out
        ::close(ends[1]);
        ++locksGiven;
        return lock;
    }

  private:
    int lockEnd_ = -1;
};

// A private message bus for the test alone.
class PrivateBus {
  public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }

  private:
    QProcess daemon_;
    QString address_;
};

template <typename Condition>
bool pumpUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
}

TEST(SleepInhibitorTest, AnOperationHoldsLogindsLockAndLetsItGoWhenItEnds) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    QDBusConnection service =
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("fake-logind"));
    FakeLogind logind;
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.login1")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                       QDBusConnection::ExportAllSlots));

    {
        window::DesktopShell shell(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("canprog")));
        MainForm form(shell);
        ASSERT_TRUE(form.beginOperation(OperationKind::FirmwareWrite));
        ASSERT_TRUE(pumpUntil([&] { return shell.inhibitor().held(); }));
        EXPECT_EQ(logind.what, QStringLiteral("sleep:idle"));
        EXPECT_EQ(logind.mode, QStringLiteral("block"));
        EXPECT_FALSE(logind.lockReleased());
        form.endOperation();
        EXPECT_FALSE(shell.inhibitor().held());
        EXPECT_TRUE(pumpUntil([&] { return logind.lockReleased(); }));

        // An operation that ends before logind answers takes no lock at all.
        ASSERT_TRUE(form.beginOperation());
        form.endOperation();
        EXPECT_TRUE(pumpUntil([&] { return logind.locksGiven == 2 && logind.lockReleased(); }));
        EXPECT_FALSE(shell.inhibitor().held());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("canprog"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
}

TEST(SleepInhibitorTest, WithoutABusTheOperationGoesOnSilently) {
    window::DesktopShell shell(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    MainForm form(shell);
    ASSERT_TRUE(form.beginOperation());
    EXPECT_FALSE(shell.inhibitor().held());
    form.endOperation();
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

}  // namespace
}  // namespace canprog

#include "SleepInhibitorTest.moc"
