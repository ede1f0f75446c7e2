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

namespace {

// One file dialog: to open an existing file, or to save (it asks before replacing a file).
std::optional<std::string> chooseFile(QWidget* owner, QFileDialog::AcceptMode mode,
                                      const std::string& filter,
                                      const std::string& defaultExtension) {
    QFileDialog dialog(owner);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(qtNameFilters(filter));
    QString suffix = QString::fromStdString(defaultExtension);
    if (suffix.startsWith(QLatin1String("*."))) suffix = suffix.mid(2);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

std::optional<std::string> DesktopShell::chooseFileToOpen(const std::string& filter,
                                                          const std::string& defaultExtension) {
    return chooseFile(owner_, QFileDialog::AcceptOpen, filter, defaultExtension);
}

std::optional<std::string> DesktopShell::chooseFileToSave(const std::string& filter,
                                                          const std::string& defaultExtension) {
    return chooseFile(owner_, QFileDialog::AcceptSave, filter, defaultExtension);
}

void DesktopShell::keepSystemAwake(bool on) {
    if (on) {
        inhibitor_.hold();
    } else {
        inhibitor_.release();
    }
}

}  // namespace canprog::window
