#pragma once

#include <QWidget>

#include "WidgetRegistry.h"

namespace canprog::window {

// The programming tab: log, file and port commands, language, CAN program list and number.
QWidget* buildProgrammingPage(WidgetRegistry& widgets);

// The operating-parameters tab: options (1) to (10), mode, PIN, CAN program number, commands.
QWidget* buildParametersPage(WidgetRegistry& widgets);

// The developer controls: created hidden, never shown to the user.
void buildDeveloperControls(WidgetRegistry& widgets, QWidget* parent);

// Marks a multi-line text widget that shows its control's text, not lines added one by one.
inline constexpr char kShowsTextProperty[] = "canprogShowsText";

// Tight spacing shared by both tabs: the window is small and fixed.
void compact(QLayout* layout, int margin = 4);

}  // namespace canprog::window
