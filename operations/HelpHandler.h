#pragma once

#include "model/HelpWindow.h"
#include "model/MainForm.h"

namespace canprog {

// "Open" in the CAN program list box: fills the help window with the chosen file's ';'
// comment lines, sizes it to the text and shows it.
void bbHelpClick(MainForm& form, HelpWindow& help);

}  // namespace canprog
