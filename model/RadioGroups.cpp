#include "RadioGroups.h"

#include <algorithm>
#include <array>
#include <vector>

namespace canprog {

namespace {

// The seven language buttons share the language frame; the two spare buttons stand in a frame
// of their own that is never shown.
const std::vector<std::vector<Ctl>> kRadioGroups = {
    {Ctl::lang1, Ctl::lang2, Ctl::lang3, Ctl::lang4, Ctl::lang5, Ctl::lang6, Ctl::lang7},
    {Ctl::lang8, Ctl::lang9},
    {Ctl::RadioButton4, Ctl::RadioButton5},
    {Ctl::RadioButton6, Ctl::RadioButton7},
    {Ctl::RadioButton8, Ctl::RadioButton9},
    {Ctl::RadioButton10, Ctl::RadioButton11},
    {Ctl::RadioButton12, Ctl::RadioButton13},
    {Ctl::RadioButton14, Ctl::RadioButton15},
    {Ctl::RadioButton16, Ctl::RadioButton17},
    {Ctl::RadioButton18, Ctl::RadioButton19},
    {Ctl::RadioButton20, Ctl::RadioButton21},
    {Ctl::RadioButton22, Ctl::RadioButton23},
};

constexpr std::array kCheckBoxes = {Ctl::CheckBox1,    Ctl::CheckBox2,    Ctl::CheckBox3,
                                    Ctl::EEPROM,       Ctl::DecodeON,     Ctl::All_memory,
                                    Ctl::PICencoding,  Ctl::DeviceID,     Ctl::Flash_size,
                                    Ctl::KeepSettings, Ctl::WaitForModule};

}  // namespace

std::span<const Ctl> radioGroupOf(Ctl id) {
    for (const auto& group : kRadioGroups) {
        if (std::find(group.begin(), group.end(), id) != group.end()) return group;
    }
    return {};
}

bool isCheckBox(Ctl id) {
    return std::find(kCheckBoxes.begin(), kCheckBoxes.end(), id) != kCheckBoxes.end();
}

}  // namespace canprog
