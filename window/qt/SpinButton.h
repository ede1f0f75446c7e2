#pragma once

#include <QWidget>

class QToolButton;

namespace canprog::window {

// Two small arrow buttons stacked: one step up, one step down.
class SpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButton(QWidget* parent = nullptr);

    // The arrows, each reachable with Tab and named for a screen reader.
    QToolButton* upArrow() const { return up_; }
    QToolButton* downArrow() const { return down_; }

  signals:
    void upClicked();
    void downClicked();

  private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

}  // namespace canprog::window
