#include "SettingsDescription.h"

#include "OptionControls.h"
#include "ParameterBlock.h"
#include "ParameterImage.h"
#include "model/AccessibleNames.h"
#include "model/PlatformShell.h"

namespace canprog {

std::vector<SettingDescription> describeSettings(const MainForm& form) {
    std::vector<SettingDescription> settings;
    for (std::size_t row = 0; row < kOptionBits.size(); ++row) {
        const OptionBit& option = kOptionBits[row];
        const bool set = form.checked(option.whenSet);
        SettingDescription setting{withoutPadding(form.text(option.group)), "", set ? 1 : 0};
        if (option.whenClear) {
            setting.value = withoutPadding(form.text(set ? option.whenSet : *option.whenClear));
        } else {
            setting.name.append(" ").append(withoutPadding(form.text(option.whenSet)));
            setting.value = set ? "on" : "off";
        }
        settings.push_back(std::move(setting));
    }
    settings.push_back({withoutPadding(form.text(kPinGroup)), form.text(Ctl::PIN), -1});
    settings.push_back(
        {withoutPadding(form.text(kCanProgramGroup)), form.text(Ctl::MaskEdit1), -1});
    return settings;
}

std::vector<SettingDescription> describeImage(const ParameterImage& image, char languageCode) {
    // The block shown in a window of its own, so that its settings read as the window says them.
    NoShell shell;
    MainForm view(shell);
    startUp(view);
    view.languageCode = languageCode;
    view.zmiana_jezyka(languageCode);
    bindOptionControls(view);
    view.images.eepromImage = image;
    applyParameterImage(view);
    return describeSettings(view);
}

std::vector<SettingChange> settingChanges(const ParameterImage& before, const ParameterImage& after,
                                          char languageCode) {
    const auto was = describeImage(before, languageCode);
    const auto becomes = describeImage(after, languageCode);
    std::vector<SettingChange> changes;
    for (std::size_t i = 0; i < was.size() && i < becomes.size(); ++i) {
        if (was[i].value != becomes[i].value) {
            changes.push_back({was[i].name, was[i].value, becomes[i].value});
        }
    }
    return changes;
}

std::vector<std::string> settingsTable(const MainForm& form) {
    std::vector<std::string> lines;
    std::string hazardLights;
    for (std::size_t row = 0; row < kOptionBits.size(); ++row) {
        const OptionBit& option = kOptionBits[row];
        if (option.whenClear) {
            const Ctl chosen = form.checked(option.whenSet) ? option.whenSet : *option.whenClear;
            lines.push_back(withoutPadding(form.text(option.group)) + ": " +
                            withoutPadding(form.text(chosen)));
            continue;
        }
        if (form.checked(option.whenSet)) {
            if (!hazardLights.empty()) hazardLights += ", ";
            hazardLights += withoutPadding(form.text(option.whenSet));
        }
        if (row == kFs3Row) {
            lines.push_back(
                withoutPadding(form.text(option.group)) + ": " +
                (hazardLights.empty() ? form.extraMessage(Extra::NoneChecked) : hazardLights));
        }
    }
    lines.push_back(withoutPadding(form.text(kPinGroup)) + ": " + form.text(Ctl::PIN));
    lines.push_back(withoutPadding(form.text(kCanProgramGroup)) + ": " + form.text(Ctl::MaskEdit1));
    return lines;
}

}  // namespace canprog
