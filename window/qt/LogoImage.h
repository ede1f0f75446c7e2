#pragma once

#include <QColor>
#include <QWidget>

#include "model/BrandTable.h"
#include "model/LogoStyle.h"

namespace canprog::window {

// A brand's logo, drawn by the program itself so that it stays sharp at any display scaling.
class LogoImage : public QWidget {
    Q_OBJECT
  public:
    explicit LogoImage(const Brand& brand, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    LogoStyle style_;
    bool clickable_;
};

}  // namespace canprog::window
