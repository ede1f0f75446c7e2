#pragma once

#include "model/MainForm.h"

namespace canprog {

// "Open file": the file dialog (both kinds of firmware file, or any file), then the chosen
// file's name in the window, and whether it is decoded as its name says. The file is not read
// here; every write reads it anew.
void bbOpenClick(MainForm& form);

}  // namespace canprog
