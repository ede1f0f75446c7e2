#pragma once

#include <cstdint>
#include <optional>

#include "Operations.h"
#include "config/ParameterImage.h"
#include "model/MainForm.h"

namespace canprog {

// "Save..." on the parameters page: the block last read, to a file the save dialog names
// (the same JSON as `canprog-cli params save`). The log says where it went, or why not.
void bbSaveSettingsClick(MainForm& form, const LastRead& lastRead);

// "Open...": a saved file's settings (PIN, options, mode, CAN program) shown in the page's
// controls, over the block last read; nothing is written until the user presses Write. A file
// saved from another module (device ID) is refused, and so is one that is not read strictly.
void bbOpenSettingsClick(MainForm& form, const LastRead& lastRead);

// Binds both buttons to the window's operations, whose last read they use.
void bindSettingsFiles(MainForm& form, Operations& operations);

}  // namespace canprog
