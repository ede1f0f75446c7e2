#pragma once

#include <string>
#include <vector>

#include "ParameterImage.h"
#include "model/MainForm.h"

namespace canprog {

// One setting as the window's captions say it, in the current language: "(1) System service"
// and "Sound off". `bit` is the block's bit for the options, the FS boxes and the mode, and
// -1 for the PIN and the CAN program.
struct SettingDescription {
    std::string name;
    std::string value;
    int bit = -1;
};

// The settings the controls show, in the order of the parameters page: options (1) to (9),
// the three hazard-light sequences of option (10), the operating mode, the PIN, the CAN
// program.
std::vector<SettingDescription> describeSettings(const MainForm& form);

// The settings a parameter block holds, as a window in the language `languageCode` would show
// them after reading it.
std::vector<SettingDescription> describeImage(const ParameterImage& image, char languageCode);

// One setting that differs between two blocks, with its value in each.
struct SettingChange {
    std::string name;
    std::string from;
    std::string to;
};

// Every setting whose value differs from `before` to `after`, in the order of the parameters
// page, in the language `languageCode`.
std::vector<SettingChange> settingChanges(const ParameterImage& before, const ParameterImage& after,
                                          char languageCode);

// The settings as lines of a table: "(1) System service: Sound off", the three hazard-light
// sequences on one line ("(10) Emergency lighting: FS2 (arming/disarming)", or "none").
std::vector<std::string> settingsTable(const MainForm& form);

}  // namespace canprog
