#include "DesktopShell.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace canprog::window {

void DesktopShell::openUrl(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) filters << parts[i];
    return filters;
}

std::optional<std::string> DesktopShell::chooseFileToOpen(const std::string& filter,
                                                          const std::string& defaultExtension) {
    QFileDialog dialog(owner_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(qtNameFilters(filter));
    QString suffix = QString::fromStdString(defaultExtension);
    if (suffix.startsWith(QLatin1String("*."))) suffix = suffix.mid(2);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace canprog::window
