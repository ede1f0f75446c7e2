#pragma once

#include "HelpWindow.h"
#include "MainForm.h"

namespace canprog {

// Binds the operations to the window's buttons: file choice, firmware write, program list.
void bindHandlers(MainForm& form, HelpWindow& help);

// "Write": loads the chosen firmware file into the images.
void bbUploadClick(MainForm& form);

}  // namespace canprog
