#pragma once

#include "firmware/HexRecordParser.h"
#include "model/MainForm.h"

namespace canprog {

// How the first stage of a firmware write ended.
enum class WriteLoad {
    NoFileChosen,  // message 14 logged; the write goes to its finishing steps
    Failed,        // message 2 logged; nothing is sent
    Loaded,        // images and tops filled; the write goes on to the module
};

// Loads the chosen firmware file into the window's images as a write starts: clears the log,
// refills the images, parses the file (decoded when DecodeON is checked) and judges it.
// `problem` receives the line and reason of a bad file, or the OS's text when it cannot open.
WriteLoad loadFirmwareForWrite(MainForm& form, HexLineProblem* problem = nullptr);

// The note after "Error loading file": the file, the line and the reason.
void noteFileProblem(MainForm& form, const std::string& file, const HexLineProblem& problem);

}  // namespace canprog
