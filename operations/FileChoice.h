#pragma once

#include "model/MainForm.h"

namespace canprog {

// "Open file": the file dialog (both kinds of firmware file, or any file), then the chosen
// file's name in the window, and whether it is decoded as its name says. The file is not read
// here; every write reads it anew.
void bbOpenClick(MainForm& form);

// A file chosen as the firmware file, by the file dialog or the firmware library: its name in
// the window, decoded as its name says, the write and the program list enabled.
void useFirmwareFile(MainForm& form, const std::string& file);

}  // namespace canprog
