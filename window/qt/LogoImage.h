#pragma once

#include <QAbstractButton>
#include <QColor>

#include "model/BrandTable.h"
#include "model/LogoStyle.h"

namespace canprog::window {

// A brand's logo, drawn by the program itself so that it stays sharp at any display scaling.
// A button: pressed with the mouse or, once Tab has reached it, with Space; a screen reader
// says the brand and, as its description, the address it opens. A logo without an address
// does nothing and takes no focus.
class LogoImage : public QAbstractButton {
    Q_OBJECT
  public:
    explicit LogoImage(const Brand& brand, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    LogoStyle style_;
};

}  // namespace canprog::window
