#include "Layout.h"

#include <array>

namespace canprog::win32window {

namespace {

using K = Kind;
constexpr Page P = Page::Programming;
constexpr Page Q = Page::Parameters;
constexpr Page H = Page::Hidden;

// Group boxes come first on each page, so that the controls inside them lie above them.
constexpr std::array kPlaces = std::to_array<Place>({
    // --- programming tab: the log, the commands and port, the languages and the module ---
    {Ctl::TabSheet1, K::Page, P, 0, 0, 0, 0},
    {Ctl::GroupBox3, K::Group, P, 154, 2, 128, 92},
    {Ctl::GroupBox1, K::Group, P, 154, 96, 128, 46},
    {Ctl::GroupBox2, K::Group, P, 154, 144, 128, 46},
    {Ctl::RadioGroup1, K::Group, P, 286, 2, 163, 112},
    {Ctl::GroupBox18, K::Group, P, 286, 116, 163, 104},
    {Ctl::GroupBox19, K::Group, P, 286, 222, 163, 66},
    {Ctl::bbOpen, K::Button, P, 160, 18, 116, 22},
    {Ctl::bbUpload, K::Button, P, 160, 43, 116, 22},
    {Ctl::Button1, K::Button, P, 160, 68, 116, 22},
    {Ctl::cbPort, K::List, P, 160, 114, 116, 200},
    {Ctl::Button2, K::Button, P, 160, 162, 116, 22},
    {Ctl::KeepSettings, K::Check, P, 158, 194, 124, 42},
    {Ctl::WaitForModule, K::Check, P, 158, 236, 124, 34},
    // Below the log and the middle column, where their captions have room in every language.
    {Ctl::CheckConnection, K::Button, P, 2, 294, 148, 22},
    {Ctl::SaveLog, K::Button, P, 154, 294, 150, 22},
    {Ctl::lang2, K::Radio, P, 294, 18, 70, 18},
    {Ctl::lang1, K::Radio, P, 294, 41, 70, 18},
    {Ctl::lang3, K::Radio, P, 294, 64, 70, 18},
    {Ctl::lang4, K::Radio, P, 294, 87, 70, 18},
    {Ctl::lang6, K::Radio, P, 372, 18, 70, 18},
    {Ctl::lang5, K::Radio, P, 372, 41, 70, 18},
    {Ctl::lang7, K::Radio, P, 372, 64, 70, 18},
    {Ctl::bbHelp, K::Button, P, 291, 131, 153, 22},
    {Ctl::FindFirmware, K::Button, P, 291, 155, 153, 22},
    {Ctl::orrin_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::velsa_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::durant_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::kelm_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::rastor_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::pelo_Image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::ilvaro_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::quorbel_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::sarnic_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::corvale_image, K::Logo, P, 307, 181, 120, 34},
    {Ctl::MaskEdit2, K::ReadOnly, P, 291, 238, 36, 21},
    {Ctl::SpinButton2, K::Spin, P, 328, 237, 16, 23},
    {Ctl::BitBtn4, K::Button, P, 291, 262, 76, 22},
    {Ctl::BitBtn3, K::Button, P, 369, 262, 76, 22},
    // The log last: Tab runs through the commands, the languages and the module first.
    {Ctl::meLog, K::Memo, P, 2, 6, 148, 240},
    {Ctl::Edit2, K::ReadOnly, P, 2, 250, 148, 21},
    {Ctl::ProgressBar, K::Progress, P, 2, 275, 148, 14},

    // --- operating-parameters tab: options 1 to 5, options 6 to 10, and the last row ---
    {Ctl::TabSheet2, K::Page, Q, 0, 0, 0, 0},
    {Ctl::GroupBox5, K::Group, Q, 2, 2, 212, 37},
    {Ctl::GroupBox6, K::Group, Q, 2, 40, 212, 37},
    {Ctl::GroupBox7, K::Group, Q, 2, 78, 212, 37},
    {Ctl::GroupBox8, K::Group, Q, 2, 116, 212, 37},
    {Ctl::GroupBox10, K::Group, Q, 2, 154, 212, 66},
    {Ctl::GroupBox11, K::Group, Q, 218, 2, 231, 37},
    {Ctl::GroupBox12, K::Group, Q, 218, 40, 231, 37},
    {Ctl::GroupBox14, K::Group, Q, 218, 78, 231, 37},
    {Ctl::GroupBox13, K::Group, Q, 218, 116, 231, 37},
    {Ctl::GroupBox16, K::Group, Q, 218, 154, 231, 92},
    {Ctl::GroupBox17, K::Group, Q, 2, 248, 114, 44},
    {Ctl::GroupBox9, K::Group, Q, 120, 248, 74, 44},
    {Ctl::GroupBox15, K::Group, Q, 198, 248, 118, 44},
    {Ctl::GroupBox4, K::Group, Q, 320, 248, 129, 44},
    {Ctl::RadioButton4, K::Radio, Q, 8, 18, 96, 18},
    {Ctl::RadioButton5, K::Radio, Q, 107, 18, 103, 18},
    {Ctl::RadioButton6, K::Radio, Q, 8, 56, 60, 18},
    {Ctl::RadioButton7, K::Radio, Q, 71, 56, 139, 18},
    {Ctl::RadioButton8, K::Radio, Q, 8, 94, 60, 18},
    {Ctl::RadioButton9, K::Radio, Q, 71, 94, 139, 18},
    {Ctl::RadioButton10, K::Radio, Q, 8, 132, 60, 18},
    {Ctl::RadioButton11, K::Radio, Q, 71, 132, 139, 18},
    {Ctl::RadioButton12, K::Radio, Q, 8, 170, 202, 18},
    {Ctl::RadioButton13, K::Radio, Q, 8, 195, 202, 18},
    // The settings to and from a file under option (5); the status line and the progress
    // below everything, across the page.
    {Ctl::bbOpenSettings, K::Button, Q, 2, 223, 104, 22},
    {Ctl::bbSaveSettings, K::Button, Q, 110, 223, 104, 22},
    {Ctl::Edit3, K::Status, Q, 2, 293, 300, 28},
    {Ctl::ProgressBar1, K::Progress, Q, 306, 301, 143, 12},
    {Ctl::RadioButton14, K::Radio, Q, 224, 18, 60, 18},
    {Ctl::RadioButton15, K::Radio, Q, 287, 18, 158, 18},
    {Ctl::RadioButton16, K::Radio, Q, 224, 56, 60, 18},
    {Ctl::RadioButton17, K::Radio, Q, 287, 56, 158, 18},
    {Ctl::RadioButton20, K::Radio, Q, 224, 94, 60, 18},
    {Ctl::RadioButton21, K::Radio, Q, 287, 94, 158, 18},
    {Ctl::RadioButton18, K::Radio, Q, 224, 132, 78, 18},
    {Ctl::RadioButton19, K::Radio, Q, 305, 132, 140, 18},
    {Ctl::CheckBox2, K::Check, Q, 224, 172, 221, 18},
    {Ctl::CheckBox1, K::Check, Q, 224, 196, 221, 18},
    {Ctl::CheckBox3, K::Check, Q, 224, 220, 221, 18},
    {Ctl::RadioButton22, K::Radio, Q, 8, 266, 46, 18},
    {Ctl::RadioButton23, K::Radio, Q, 58, 266, 50, 18},
    {Ctl::PIN, K::Edit, Q, 127, 265, 60, 21},
    {Ctl::MaskEdit1, K::ReadOnly, Q, 205, 265, 36, 21},
    {Ctl::SpinButton1, K::Spin, Q, 242, 264, 16, 23},
    {Ctl::BitBtn2, K::Button, Q, 325, 265, 54, 22},
    {Ctl::BitBtn1, K::Button, Q, 381, 265, 64, 22},

    // --- developer controls and the spare language buttons: on no page, never shown ---
    {Ctl::lang8, K::Radio, H, 0, 0, 40, 18},
    {Ctl::lang9, K::Radio, H, 0, 0, 40, 18},
    {Ctl::EEPROM, K::Check, H, 0, 0, 100, 18},
    {Ctl::DecodeON, K::Check, H, 0, 0, 100, 18},
    {Ctl::All_memory, K::Check, H, 0, 0, 100, 18},
    {Ctl::PICencoding, K::Check, H, 0, 0, 100, 18},
    {Ctl::DeviceID, K::Check, H, 0, 0, 100, 18},
    {Ctl::Flash_size, K::Check, H, 0, 0, 100, 18},
    {Ctl::Edit1, K::ReadOnly, H, 0, 0, 100, 21},
    {Ctl::Memo1, K::Memo, H, 0, 0, 200, 100},
    {Ctl::Clear, K::Button, H, 0, 0, 75, 22},
});

static_assert(kPlaces.size() == kControlCount, "every control of the model has one place");

}  // namespace

std::span<const Place> windowLayout() {
    return kPlaces;
}

}  // namespace canprog::win32window
