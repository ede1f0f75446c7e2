#pragma once

#include <QColor>
#include <QWidget>

#include "app/model/BrandTable.h"

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
    enum class Shape { Banner, Badge, Slant, Frame, Round };
    struct Style {
        QString name;
        QColor background;
        QColor foreground;
        Shape shape;
        int width;
    };
    static Style styleFor(Ctl logo);

    Style style_;
    bool clickable_;
};

}  // namespace canprog::window
