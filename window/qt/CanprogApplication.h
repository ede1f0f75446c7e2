#pragma once

#include <QApplication>
#include <functional>

namespace canprog::window {

// The application object. An exception that reaches the event loop is shown in the default
// error display, and the program goes on.
class CanprogApplication : public QApplication {
    Q_OBJECT
  public:
    using ErrorDisplay = std::function<void(const QString& message)>;

    CanprogApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Replaces the message box, for tests.
    void setErrorDisplay(ErrorDisplay display) { errorDisplay_ = std::move(display); }
    void showError(const QString& message) const;

  private:
    ErrorDisplay errorDisplay_;
};

}  // namespace canprog::window
