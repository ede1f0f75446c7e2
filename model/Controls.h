#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace canprog {

// Every control of the main window that an operation reads or writes, by the name the window
// gives it. The list drives the enum, the name table and the window's object names alike.
// clang-format off
#define CANPROG_CONTROLS(X)                                                                    \
    /* programming tab */                                                                      \
    X(TabSheet1) X(meLog) X(bbOpen) X(bbUpload) X(Button1) X(cbPort) X(Button2) X(Edit2)        \
    X(ProgressBar) X(GroupBox1) X(GroupBox2) X(GroupBox3) X(GroupBox18) X(bbHelp) X(GroupBox19) \
    X(SpinButton2) X(MaskEdit2) X(BitBtn4) X(BitBtn3) X(RadioGroup1)                            \
    X(lang1) X(lang2) X(lang3) X(lang4) X(lang5) X(lang6) X(lang7) X(lang8) X(lang9)            \
    X(KeepSettings) X(WaitForModule) X(FindFirmware) X(CheckConnection) X(SaveLog)             \
    /* brand logos */                                                                          \
    X(orrin_image) X(velsa_image) X(durant_image) X(kelm_image) X(rastor_image) X(pelo_Image)   \
    X(ilvaro_image) X(quorbel_image) X(sarnic_image) X(corvale_image)                           \
    /* operating-parameters tab */                                                             \
    X(TabSheet2) X(GroupBox4) X(GroupBox5) X(GroupBox6) X(GroupBox7) X(GroupBox8) X(GroupBox9)  \
    X(GroupBox10) X(GroupBox11) X(GroupBox12) X(GroupBox13) X(GroupBox14) X(GroupBox15)         \
    X(GroupBox16) X(GroupBox17)                                                                \
    X(RadioButton4) X(RadioButton5) X(RadioButton6) X(RadioButton7) X(RadioButton8)             \
    X(RadioButton9) X(RadioButton10) X(RadioButton11) X(RadioButton12) X(RadioButton13)         \
    X(RadioButton14) X(RadioButton15) X(RadioButton16) X(RadioButton17) X(RadioButton18)        \
    X(RadioButton19) X(RadioButton20) X(RadioButton21) X(RadioButton22) X(RadioButton23)        \
    X(CheckBox1) X(CheckBox2) X(CheckBox3) X(BitBtn1) X(BitBtn2) X(SpinButton1) X(MaskEdit1)    \
    X(PIN) X(Edit3) X(ProgressBar1) X(bbSaveSettings) X(bbOpenSettings)                        \
    /* developer controls, never shown */                                                      \
    X(EEPROM) X(DecodeON) X(All_memory) X(PICencoding) X(DeviceID) X(Flash_size) X(Edit1)       \
    X(Memo1) X(Clear)
// clang-format on

enum class Ctl {
#define CANPROG_ENUM_ENTRY(name) name,
    CANPROG_CONTROLS(CANPROG_ENUM_ENTRY)
#undef CANPROG_ENUM_ENTRY
};

inline constexpr std::array kControlNames = {
#define CANPROG_NAME_ENTRY(name) std::string_view{#name},
    CANPROG_CONTROLS(CANPROG_NAME_ENTRY)
#undef CANPROG_NAME_ENTRY
};

inline constexpr std::size_t kControlCount = kControlNames.size();

constexpr std::size_t index(Ctl id) {
    return static_cast<std::size_t>(id);
}

// The control's name, which the window also uses as its object name.
constexpr std::string_view controlName(Ctl id) {
    return kControlNames[index(id)];
}

}  // namespace canprog
