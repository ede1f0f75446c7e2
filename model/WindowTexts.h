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
};
inline constexpr std::size_t kWindowTextCount =
    static_cast<std::size_t>(WindowText::ReadTheModuleFirst) + 1;

std::string_view windowText(WindowText text, Language language);

}  // namespace canprog
