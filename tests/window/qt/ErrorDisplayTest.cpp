#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "window/qt/CanprogApplication.h"

namespace canprog {
namespace {

TEST(ErrorDisplayTest, AnExceptionFromAClickIsShownAndTheProgramGoesOn) {
    auto* application = qobject_cast<window::CanprogApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    QStringList shown;
    application->setErrorDisplay([&](const QString& message) { shown << message; });

    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        throw std::runtime_error("'x' is not a valid integer value");
    });
    QTimer::singleShot(0, &button, [&] { button.click(); });
    QTimer::singleShot(0, &button, [&] { button.click(); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.front(), QStringLiteral("'x' is not a valid integer value"));
    application->setErrorDisplay({});
}

}  // namespace
}  // namespace canprog
