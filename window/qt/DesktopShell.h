#pragma once

#include <QPointer>
#include <QWidget>

#include "SleepInhibitor.h"
#include "model/PlatformShell.h"

namespace canprog::window {

// The desktop's services: the default browser, the file dialogs, and logind's lock that keeps
// the system awake while the module is talked to (on the system bus, or on `bus`).
class DesktopShell : public PlatformShell {
  public:
    DesktopShell() = default;
    explicit DesktopShell(QDBusConnection bus) : inhibitor_(std::move(bus)) {}

    // The window that owns the dialogs.
    void setDialogOwner(QWidget* owner) { owner_ = owner; }

    void openUrl(const std::string& address) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> chooseFileToSave(const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> chooseFirmware(FirmwareSearch& search) override;
    bool confirm(const std::string& question, const std::string& yes,
                 const std::string& no) override;
    void keepSystemAwake(bool on) override;

    const SleepInhibitor& inhibitor() const { return inhibitor_; }

  private:
    QPointer<QWidget> owner_;
    SleepInhibitor inhibitor_;
};

// "Plik HEXFW (*.hexfw)|*.hexfw" to Qt's "Plik HEXFW (*.hexfw)"; every description of the
// description|pattern pairs becomes one filter.
QStringList qtNameFilters(const std::string& filter);

}  // namespace canprog::window
