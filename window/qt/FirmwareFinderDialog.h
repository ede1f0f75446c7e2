#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "model/FirmwareSearch.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace canprog::window {

// The "Find firmware..." window: the folder it lists (another one can be picked), a search
// edit, the files it finds, and "Use this file". Keyboard: the search has the focus, Down moves
// into the list, Enter uses the current file, Escape closes.
class FirmwareFinderDialog : public QDialog {
  public:
    FirmwareFinderDialog(FirmwareSearch& search, QWidget* owner);

    // The file chosen, once the window has closed.
    const std::optional<std::string>& chosen() const { return chosen_; }

  private:
    void showRows();
    void pickFolder();
    void useCurrent();
    void updateUseButton();

    FirmwareSearch& search_;
    QLineEdit* folder_;
    QLineEdit* text_;
    QListWidget* rows_;
    QPushButton* use_;
    std::optional<std::string> chosen_;
};

}  // namespace canprog::window
