#pragma once

#include <QPointer>
#include <QWidget>

#include "model/PlatformShell.h"

namespace canprog::window {

// The desktop's services: the default browser and the file-open dialog.
class DesktopShell : public PlatformShell {
  public:
    // The window that owns the dialogs.
    void setDialogOwner(QWidget* owner) { owner_ = owner; }

    void openUrl(const std::string& address) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                const std::string& defaultExtension) override;

  private:
    QPointer<QWidget> owner_;
};

// "Plik HEXFW (*.hexfw)|*.hexfw" to Qt's "Plik HEXFW (*.hexfw)"; every description of the
// description|pattern pairs becomes one filter.
QStringList qtNameFilters(const std::string& filter);

}  // namespace canprog::window
