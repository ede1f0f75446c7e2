#include "OptionControls.h"

namespace canprog {

namespace {

constexpr unsigned kLowestProgram = 11;
constexpr unsigned kHighestProgram = 99;

// Replaces the first `from` of both mode captions by `to`; a caption without it stays.
void setModeLetter(MainForm& form, char from, char to) {
    for (Ctl group : {Ctl::GroupBox8, Ctl::GroupBox10}) {
        std::string caption = form.text(group);
        const auto at = caption.find(from);
        if (at == std::string::npos) continue;
        caption[at] = to;
        form.setText(group, caption);
    }
}

}  // namespace

void RadioButton22Click(MainForm& form) {
    setModeLetter(form, 'A', 'I');
}
void RadioButton23Click(MainForm& form) {
    setModeLetter(form, 'I', 'A');
}

void CheckBox2Click(MainForm& form) {
    if (form.checked(Ctl::CheckBox2)) form.setChecked(Ctl::CheckBox3, false);
}

void CheckBox3Click(MainForm& form) {
    if (form.checked(Ctl::CheckBox3)) form.setChecked(Ctl::CheckBox2, false);
}

void showCanProgramNumber(MainForm& form) {
    const std::string text = std::to_string(form.canProgramNumber);
    form.setText(Ctl::MaskEdit1, text);
    form.setText(Ctl::MaskEdit2, text);
}

void SpinButton1DownClick(MainForm& form) {
    unsigned value = static_cast<unsigned char>(form.canProgramNumber - 1);
    if (value < kLowestProgram) value = kLowestProgram;
    if (value % 10 == 0) value -= 1;
    form.canProgramNumber = static_cast<unsigned char>(value);
    showCanProgramNumber(form);
}

void SpinButton1UpClick(MainForm& form) {
    unsigned value = static_cast<unsigned char>(form.canProgramNumber + 1);
    if (value > kHighestProgram) value = kHighestProgram;
    if (value % 10 == 0) value += 1;
    form.canProgramNumber = static_cast<unsigned char>(value);
    showCanProgramNumber(form);
}

void bindOptionControls(MainForm& form) {
    form.bindClick(Ctl::RadioButton22, [&form] { RadioButton22Click(form); });
    form.bindClick(Ctl::RadioButton23, [&form] { RadioButton23Click(form); });
    form.bindClick(Ctl::CheckBox2, [&form] { CheckBox2Click(form); });
    form.bindClick(Ctl::CheckBox3, [&form] { CheckBox3Click(form); });
    for (Ctl spin : {Ctl::SpinButton1, Ctl::SpinButton2}) {
        form.bindSpin(spin, MainForm::Arrow::Down, [&form] { SpinButton1DownClick(form); });
        form.bindSpin(spin, MainForm::Arrow::Up, [&form] { SpinButton1UpClick(form); });
    }
}

}  // namespace canprog
