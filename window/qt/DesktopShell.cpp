#include "DesktopShell.h"

#include "FirmwareFinderDialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
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

std::optional<std::string> DesktopShell::chooseFirmware(FirmwareSearch& search) {
    FirmwareFinderDialog dialog(search, owner_);
    dialog.exec();
    return dialog.chosen();
}

bool DesktopShell::confirm(const std::string& question, const std::string& yes,
                           const std::string& no) {
    QMessageBox box(QMessageBox::Question, owner_ ? owner_->windowTitle() : QString(),
                    QString::fromStdString(question), QMessageBox::NoButton, owner_);
    QPushButton* yesButton = box.addButton(QString::fromStdString(yes), QMessageBox::YesRole);
    QPushButton* noButton = box.addButton(QString::fromStdString(no), QMessageBox::NoRole);
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

void DesktopShell::keepSystemAwake(bool on) {
    if (on) {
        inhibitor_.hold();
    } else {
        inhibitor_.release();
    }
}

}  // namespace canprog::window
