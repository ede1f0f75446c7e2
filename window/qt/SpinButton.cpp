#include "SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace canprog::window {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto makeArrow = [this, layout](Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::TabFocus);
        layout->addWidget(button);
        return button;
    };
    up_ = makeArrow(Qt::UpArrow);
    down_ = makeArrow(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &SpinButton::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinButton::downClicked);
    setFixedSize(16, 22);
}

}  // namespace canprog::window
