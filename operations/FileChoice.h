#pragma once

#include "model/MainForm.h"

namespace canprog {

// "Open file": the file dialog, then the chosen file's name in the window. The file is not
// read here; every write reads it anew.
void bbOpenClick(MainForm& form);

}  // namespace canprog
