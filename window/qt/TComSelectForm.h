#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "serial/SlSelCom.h"

class QComboBox;

namespace canprog::window {

// "Select Port": shown when the port component is opened without a port number. Lists the
// ports that exist now; OK gives the chosen number, Cancel nothing.
class TComSelectForm : public QDialog {
    Q_OBJECT
  public:
    explicit TComSelectForm(const std::vector<serial::PresentPort>& ports,
                            QWidget* parent = nullptr);

    QComboBox* PortsComboBox() const { return ports_; }
    // The number of the selected entry after OK.
    std::optional<int> chosenPort() const;

    // Probes the ports, shows the dialog modally and returns the choice.
    static std::optional<int> choose(QWidget* parent = nullptr);

  private:
    QComboBox* ports_;
};

}  // namespace canprog::window
