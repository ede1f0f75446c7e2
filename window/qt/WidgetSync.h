#pragma once

#include <QWidget>

#include "model/ControlState.h"

namespace canprog::window {

// Shows one aspect of a control's model state on its widget, whatever the widget's kind.
// Signals of the widget are blocked meanwhile: the model is the source, not the user.
void showState(QWidget* widget, const ControlState& state, Change what);

// Shows every aspect of the state.
void showAll(QWidget* widget, const ControlState& state);

QString toQString(const std::string& text);

}  // namespace canprog::window
