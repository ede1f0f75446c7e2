#pragma once

#include <QCheckBox>

namespace canprog::window {

// A check box whose caption takes two lines when it is longer than its column is wide: a
// check box of its own never wraps, and a long caption would widen the column.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;

    // Sets the caption, broken at the blank nearest its middle when one line is too wide.
    void setWrappedText(const QString& text);

    static constexpr int kOneLineWidth = 120;
};

}  // namespace canprog::window
