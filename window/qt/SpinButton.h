#pragma once

#include <QWidget>

namespace canprog::window {

// Two small arrow buttons stacked: one step up, one step down.
class SpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);

  signals:
    void upClicked();
    void downClicked();
};

}  // namespace canprog::window
