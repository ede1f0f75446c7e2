#include "CanprogApplication.h"

#include <QAccessible>
#include <QFont>
#include <QMessageBox>
#include <QStyleFactory>
#include <exception>

#include "PortList.h"

namespace canprog::window {

CanprogApplication::CanprogApplication(int& argc, char** argv) : QApplication(argc, argv) {
    QAccessible::installFactory(portListAccessible);
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPointSize(8);
    setFont(small);
    // Group boxes in the classic compact form: the title sits on the frame line.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px;"
        " margin-top: 6px; padding-top: 5px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }"
        // The log and the status keep a frame at every scale (the style's own is lost at
        // 150 %).
        "QPlainTextEdit { border: 1px solid palette(mid); }"));
}

bool CanprogApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
    return false;
}

void CanprogApplication::showError(const QString& message) const {
    if (errorDisplay_) {
        errorDisplay_(message);
        return;
    }
    QMessageBox::critical(activeWindow(), applicationDisplayName(), message);
}

}  // namespace canprog::window
