#include "DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace canprog::window {

void DesktopShell::openUrl(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace canprog::window
