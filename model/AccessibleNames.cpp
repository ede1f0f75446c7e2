#include "AccessibleNames.h"

#include <array>
#include <utility>

#include "BrandTable.h"

namespace canprog {

namespace {

// Controls named after the group that holds them.
constexpr std::array kNamedByGroup = {
    std::pair{Ctl::cbPort, Ctl::GroupBox1},       std::pair{Ctl::PIN, Ctl::GroupBox9},
    std::pair{Ctl::MaskEdit1, Ctl::GroupBox15},   std::pair{Ctl::MaskEdit2, Ctl::GroupBox19},
    std::pair{Ctl::SpinButton1, Ctl::GroupBox15}, std::pair{Ctl::SpinButton2, Ctl::GroupBox19}};

// Controls that show no caption and have a name of the window's own.
constexpr std::array kNamedByWindow = {std::pair{Ctl::meLog, WindowText::LogName},
                                       std::pair{Ctl::Edit2, WindowText::FileName},
                                       std::pair{Ctl::ProgressBar, WindowText::ProgressName},
                                       std::pair{Ctl::ProgressBar1, WindowText::ProgressName},
                                       std::pair{Ctl::Edit3, WindowText::StatusName},
                                       std::pair{Ctl::Memo1, WindowText::LogName},
                                       std::pair{Ctl::Edit1, WindowText::StatusName}};

}  // namespace

std::string withoutPadding(const std::string& caption) {
    const auto first = caption.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return caption.substr(first, caption.find_last_not_of(' ') - first + 1);
}

std::string accessibleName(const MainForm& form, Ctl id) {
    for (const auto& [control, group] : kNamedByGroup) {
        if (control == id) return withoutPadding(form.text(group));
    }
    for (const auto& [control, text] : kNamedByWindow) {
        if (control == id) return form.windowText(text);
    }
    // A logo says what it shows and where it leads.
    for (const auto& brand : brands()) {
        if (brand.logo != id) continue;
        if (brand.webAddress.empty()) {
            return form.extraMessage(Extra::LogoNameNoAddress,
                                     {{"brand", std::string(brand.caption)}});
        }
        return form.extraMessage(Extra::LogoName, {{"brand", std::string(brand.caption)},
                                                   {"address", std::string(brand.webAddress)}});
    }
    return withoutPadding(form.text(id));
}

std::string accessibleDescription(const MainForm& form, Ctl id) {
    for (const auto& brand : brands()) {
        if (brand.logo == id) return std::string(brand.webAddress);
    }
    // A button that cannot be pressed yet says why.
    if ((id == Ctl::bbSaveSettings || id == Ctl::bbOpenSettings) && !form.enabled(id) &&
        !form.operationRunning()) {
        return form.windowText(WindowText::ReadTheModuleFirst);
    }
    // A write's bar says the time left with its value.
    if (id == Ctl::ProgressBar) return form.text(id);
    return {};
}

std::string spinArrowName(const MainForm& form, MainForm::Arrow arrow) {
    return form.windowText(arrow == MainForm::Arrow::Up ? WindowText::NextProgram
                                                        : WindowText::PreviousProgram);
}

}  // namespace canprog
