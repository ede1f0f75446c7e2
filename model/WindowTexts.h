#pragma once

#include <string_view>

#include "LanguageTables.h"

namespace canprog {

// Texts of what the window has beyond its original controls: the captions of its added
// controls, the names a screen reader says for controls that show no caption, and the
// question before a write is stopped by closing the window. Each has a text in every language.
enum class WindowText {
    KeepSettings,  // check box on the programming page
    SaveSettings,  // button on the parameters page
    OpenSettings,  // button on the parameters page
    LogName,
    FileName,
    ProgressName,
    StatusName,
    NextProgram,
    PreviousProgram,
    StopFirmwareWrite,
    StopParameterWrite,
    Yes,
    No,
    FirmwareFiles,       // the file dialog's filter
    AllFiles,            // the file dialog's filter
    ReadTheModuleFirst,  // why "To file..." and "From file..." are not enabled yet
    WaitForModule,       // check box on the programming page
    FindFirmware,        // button beside the CAN program list's
    CheckConnection,     // button on the programming page, and its window's title
    SaveLog,             // button on the programming page
    SearchText,          // the firmware library window's search edit
    LibraryFolder,       // the folder it lists
    OtherFolder,         // the button that picks another folder
    UseFirmware,         // the button that makes the chosen row the firmware file
    CloseWindow,
    BrokenFirmware,  // {file} {problem}: a row of a file that does not load
    LogFiles,        // the save dialog's filter
    ReplaceFile,     // {file}: asked before a file is replaced
};
inline constexpr std::size_t kWindowTextCount =
    static_cast<std::size_t>(WindowText::ReplaceFile) + 1;

std::string_view windowText(WindowText text, Language language);

}  // namespace canprog
