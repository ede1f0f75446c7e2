#include "MainForm.h"

#include <algorithm>
#include <utility>

#include "BrandTable.h"
#include "LanguageTables.h"
#include "PlatformShell.h"
#include "RadioGroups.h"

namespace canprog {

namespace {

// Folds the Polish letters of a caption to plain Latin, as the window's definition writes them.
std::string withoutPolishDiacritics(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 18> kFolds = {{
        {"ą", 'a'},
        {"ć", 'c'},
        {"ę", 'e'},
        {"ł", 'l'},
        {"ń", 'n'},
        {"ó", 'o'},
        {"ś", 's'},
        {"ź", 'z'},
        {"ż", 'z'},
        {"Ą", 'A'},
        {"Ć", 'C'},
        {"Ę", 'E'},
        {"Ł", 'L'},
        {"Ń", 'N'},
        {"Ó", 'O'},
        {"Ś", 'S'},
        {"Ź", 'Z'},
        {"Ż", 'Z'},
    }};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto fold = std::find_if(kFolds.begin(), kFolds.end(), [&](const auto& f) {
            return text.substr(i, f.first.size()) == f.first;
        });
        if (fold != kFolds.end()) {
            out += fold->second;
            i += fold->first.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The captions of the controls the window has beyond its original ones.
constexpr std::array kAddedCaptions = {std::pair{Ctl::KeepSettings, WindowText::KeepSettings},
                                       std::pair{Ctl::bbSaveSettings, WindowText::SaveSettings},
                                       std::pair{Ctl::bbOpenSettings, WindowText::OpenSettings},
                                       std::pair{Ctl::WaitForModule, WindowText::WaitForModule},
                                       std::pair{Ctl::FindFirmware, WindowText::FindFirmware},
                                       std::pair{Ctl::CheckConnection, WindowText::CheckConnection},
                                       std::pair{Ctl::SaveLog, WindowText::SaveLog}};

// What cannot be used while an operation runs: its clicks would be ignored, so these are shown
// disabled for as long as it runs and get their own state back after it.
constexpr std::array kHeldDuringOperations = {
    Ctl::bbOpen,        Ctl::bbUpload,     Ctl::Button2,         Ctl::BitBtn1,
    Ctl::BitBtn2,       Ctl::BitBtn3,      Ctl::BitBtn4,         Ctl::bbHelp,
    Ctl::cbPort,        Ctl::lang1,        Ctl::lang2,           Ctl::lang3,
    Ctl::lang4,         Ctl::lang5,        Ctl::lang6,           Ctl::lang7,
    Ctl::RadioGroup1,   Ctl::KeepSettings, Ctl::bbSaveSettings,  Ctl::bbOpenSettings,
    Ctl::WaitForModule, Ctl::FindFirmware, Ctl::CheckConnection, Ctl::SaveLog};

bool isHeldDuringOperations(Ctl id) {
    return id == Ctl::Button1 ||
           std::find(kHeldDuringOperations.begin(), kHeldDuringOperations.end(), id) !=
               kHeldDuringOperations.end();
}

bool isLanguageControl(Ctl id) {
    return id == Ctl::RadioGroup1 || id == Ctl::lang8 || id == Ctl::lang9 ||
           std::any_of(kLanguages.begin(), kLanguages.end(),
                       [id](const LanguageRow& row) { return row.button == id; });
}

}  // namespace

MainForm::MainForm(PlatformShell& shell, ClockFunction clock)
    : shell_(shell), clock_(std::move(clock)), countdown_(clock_) {
    setDesignTimeState();
    for (const LanguageRow& row : kLanguages) bindClick(row.button, [this] { RadioGroup1Click(); });
    bindClick(Ctl::lang8, [this] { RadioGroup1Click(); });
    bindClick(Ctl::lang9, [this] { RadioGroup1Click(); });
    bindClick(Ctl::RadioGroup1, [this] { RadioGroup1Click(); });
    bindClick(Ctl::Button1, [this] { Button1Click(); });
    bindClick(Ctl::Clear, [this] { ClearClick(); });
    for (const auto& brand : brands()) {
        if (!brand.webAddress.empty()) bindClick(brand.logo, [this] { LOGOClick(); });
    }
}

// The window as its definition creates it, before FormCreate runs.
void MainForm::setDesignTimeState() {
    windowCaption_ = "Corvale CAN PROGRAMMER";
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        messages_[i] = std::string(messageText(i, Language::Polish));
    }
    messages_[kBrandAddressEntry] = std::string(brandForKey('0')->webAddress);
    for (const auto& row : captionRows()) {
        controls_[index(row.control)].text = withoutPolishDiacritics(row.text[0]);
    }
    controls_[index(Ctl::bbHelp)].text = "Open";
    controls_[index(Ctl::GroupBox18)].text = "Lista programów CAN";

    for (const LanguageRow& row : kLanguages) controls_[index(row.button)].text = row.caption;
    controls_[index(Ctl::lang8)].text = "lang8";
    controls_[index(Ctl::lang9)].text = "lang9";

    const std::array<std::pair<Ctl, const char*>, 7> developerCaptions = {
        {{Ctl::EEPROM, "EEPROM write"},
         {Ctl::DecodeON, "File Decode ON"},
         {Ctl::All_memory, "All memory write"},
         {Ctl::PICencoding, "RandomEncoding"},
         {Ctl::DeviceID, "Device ID read"},
         {Ctl::Flash_size, "Flash size"},
         {Ctl::Clear, "Clear"}}};
    for (const auto& [id, caption] : developerCaptions) controls_[index(id)].text = caption;

    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::All_memory, Ctl::PICencoding, Ctl::DeviceID,
                   Ctl::Flash_size, Ctl::Edit1, Ctl::Memo1, Ctl::Clear, Ctl::lang8, Ctl::lang9}) {
        controls_[index(id)].visible = false;
    }
    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::All_memory, Ctl::lang2, Ctl::RadioButton4,
                   Ctl::RadioButton6, Ctl::RadioButton8, Ctl::RadioButton10, Ctl::RadioButton12,
                   Ctl::RadioButton14, Ctl::RadioButton16, Ctl::RadioButton18, Ctl::RadioButton20,
                   Ctl::RadioButton22}) {
        controls_[index(id)].checked = true;
    }
    for (Ctl id : {Ctl::bbUpload, Ctl::bbHelp, Ctl::BitBtn1, Ctl::BitBtn3, Ctl::bbSaveSettings,
                   Ctl::bbOpenSettings}) {
        controls_[index(id)].enabled = false;
    }
    for (const auto& [control, text] : kAddedCaptions) {
        controls_[index(control)].text = std::string(canprog::windowText(text, Language::Polish));
    }
    controls_[index(Ctl::Edit1)].text = "Edit1";
    controls_[index(Ctl::PIN)].text = "    ";
    controls_[index(Ctl::MaskEdit1)].text = "11";
    controls_[index(Ctl::MaskEdit2)].text = "11";
    for (Ctl bar : {Ctl::ProgressBar, Ctl::ProgressBar1}) controls_[index(bar)].position = 0;

    auto& ports = controls_[index(Ctl::cbPort)];
    for (int n = 1; n <= kPortCount; ++n) ports.lines.push_back("COM" + std::to_string(n));
    ports.position = 0;
}

void MainForm::addListener(ModelListener* listener) {
    listeners_.push_back(listener);
}

void MainForm::removeListener(ModelListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void MainForm::notify(Ctl id, Change what) {
    for (auto* listener : listeners_) listener->controlChanged(id, what);
}

void MainForm::setText(Ctl id, std::string text) {
    auto& state = controls_[index(id)];
    if (state.text == text) return;
    state.text = std::move(text);
    notify(id, Change::Text);
}

void MainForm::setEnabled(Ctl id, bool enabled) {
    // While an operation runs, a held control keeps its operation-time state and takes the
    // new one when the operation ends.
    if (operationRunning_ && isHeldDuringOperations(id)) {
        enabledAfterOperation_[index(id)] = enabled;
        return;
    }
    showEnabled(id, enabled);
}

void MainForm::showEnabled(Ctl id, bool enabled) {
    auto& state = controls_[index(id)];
    if (state.enabled == enabled) return;
    state.enabled = enabled;
    notify(id, Change::Enabled);
}

void MainForm::setVisible(Ctl id, bool visible) {
    auto& state = controls_[index(id)];
    if (state.visible == visible) return;
    state.visible = visible;
    notify(id, Change::Visible);
}

void MainForm::setChecked(Ctl id, bool checked) {
    auto& state = controls_[index(id)];
    if (state.checked == checked) return;
    state.checked = checked;
    const bool isRadio = !radioGroupOf(id).empty();
    if (isRadio && checked) uncheckGroupSiblings(id);
    notify(id, Change::Checked);
    if ((isRadio && checked) || isCheckBox(id)) {
        if (const auto& handler = clickHandlers_[index(id)]) handler();
    }
}

void MainForm::uncheckGroupSiblings(Ctl id) {
    for (Ctl sibling : radioGroupOf(id)) {
        auto& state = controls_[index(sibling)];
        if (sibling == id || !state.checked) continue;
        state.checked = false;
        notify(sibling, Change::Checked);
    }
}

void MainForm::setProgressRange(Ctl id, int minimum, int maximum) {
    auto& state = controls_[index(id)];
    state.minimum = minimum;
    state.maximum = std::max(minimum, maximum);
    state.position = std::clamp(state.position, state.minimum, state.maximum);
    notify(id, Change::Progress);
}

void MainForm::setProgressMinimum(Ctl id, int minimum) {
    const auto& state = controls_[index(id)];
    setProgressRange(id, minimum, std::max(minimum, state.maximum));
}

void MainForm::setProgressMaximum(Ctl id, int maximum) {
    const auto& state = controls_[index(id)];
    setProgressRange(id, std::min(state.minimum, maximum), maximum);
}

void MainForm::setProgressPosition(Ctl id, int position) {
    auto& state = controls_[index(id)];
    const int clamped = std::clamp(position, state.minimum, state.maximum);
    if (state.position == clamped) return;
    state.position = clamped;
    notify(id, Change::Progress);
}

void MainForm::clearLines(Ctl memo) {
    auto& state = controls_[index(memo)];
    state.lines.clear();
    notify(memo, Change::LinesCleared);
}

void MainForm::addLine(Ctl memo, std::string line) {
    controls_[index(memo)].lines.push_back(std::move(line));
    notify(memo, Change::LineAdded);
}

void MainForm::bindClick(Ctl id, std::function<void()> handler) {
    clickHandlers_[index(id)] = std::move(handler);
}

void MainForm::click(Ctl id) {
    if (!controls_[index(id)].enabled) return;
    // The language changes between operations only: a change now would wipe the running
    // operation's log, as other clicks that come during an operation are ignored too.
    if (operationRunning_ && isLanguageControl(id)) return;
    if (!radioGroupOf(id).empty()) {
        // A click on a radio button checks it; its behaviour runs when it becomes checked.
        setChecked(id, true);
        return;
    }
    if (isCheckBox(id)) {
        setChecked(id, !controls_[index(id)].checked);
        return;
    }
    if (const auto& handler = clickHandlers_[index(id)]) handler();
}

void MainForm::bindSpin(Ctl id, Arrow arrow, std::function<void()> handler) {
    spinHandlers_[index(id)][static_cast<std::size_t>(arrow)] = std::move(handler);
}

void MainForm::spinClick(Ctl id, Arrow arrow) {
    if (!controls_[index(id)].enabled) return;
    if (const auto& handler = spinHandlers_[index(id)][static_cast<std::size_t>(arrow)]) handler();
}

void MainForm::selectPort(int itemIndex) {
    auto& ports = controls_[index(Ctl::cbPort)];
    const int clamped = std::clamp(itemIndex, 0, static_cast<int>(ports.lines.size()) - 1);
    if (ports.position == clamped) return;
    ports.position = clamped;
    notify(Ctl::cbPort, Change::Progress);
}

int MainForm::selectedPortNumber() const {
    const auto& ports = control(Ctl::cbPort);
    const auto at = static_cast<std::size_t>(ports.position);
    if (at >= ports.lines.size()) return 1;
    return serial::portNumberFromEntry(ports.lines[at]).value_or(ports.position + 1);
}

void MainForm::selectPortNumber(int number) {
    auto& ports = controls_[index(Ctl::cbPort)];
    for (std::size_t i = 0; i < ports.lines.size(); ++i) {
        if (serial::portNumberFromEntry(ports.lines[i]) == number) {
            selectPort(static_cast<int>(i));
            return;
        }
    }
    ports.lines.push_back(serial::portItem(number));
    notify(Ctl::cbPort, Change::Text);
    selectPort(static_cast<int>(ports.lines.size()) - 1);
}

void MainForm::showPorts(const std::vector<serial::PresentPort>& present) {
    const int selected = selectedPortNumber();
    std::vector<std::string> entries;
    for (int number = 1; number <= kPortCount; ++number) {
        const auto there = std::find_if(present.begin(), present.end(), [number](const auto& port) {
            return port.number == number;
        });
        entries.push_back(there == present.end() ? serial::portItem(number)
                                                 : serial::portEntry(*there));
    }
    for (const auto& port : present) {
        if (port.number > kPortCount) entries.push_back(serial::portEntry(port));
    }
    auto& ports = controls_[index(Ctl::cbPort)];
    if (entries != ports.lines) {
        ports.lines = std::move(entries);
        notify(Ctl::cbPort, Change::Text);
    }
    // The port that was chosen stays chosen; one that has gone gives way to COM1.
    ports.position = 0;
    selectPortNumber(selected <= kPortCount || std::any_of(present.begin(), present.end(),
                                                           [selected](const auto& port) {
                                                               return port.number == selected;
                                                           })
                         ? selected
                         : 1);
    notify(Ctl::cbPort, Change::Progress);
}

void MainForm::setWindowCaption(std::string caption) {
    windowCaption_ = std::move(caption);
    for (auto* listener : listeners_) listener->windowCaptionChanged();
}

void MainForm::setApplicationTitle(std::string title) {
    applicationTitle_ = std::move(title);
    for (auto* listener : listeners_) listener->applicationTitleChanged();
}

void MainForm::logMessage(std::size_t index) {
    log(messages_.at(index));
}

std::string MainForm::windowText(WindowText text) const {
    const Language language = languageForCode(languageCode).value_or(Language::English);
    return std::string(canprog::windowText(text, language));
}

std::string MainForm::extraMessage(
    Extra line, const std::vector<std::pair<std::string_view, std::string>>& values) const {
    const Language language = languageForCode(languageCode).value_or(Language::English);
    return fillIn(extraText(line, language), values);
}

void MainForm::logNote(Extra line,
                       const std::vector<std::pair<std::string_view, std::string>>& values) {
    addingNote_ = true;
    log(extraMessage(line, values));
    addingNote_ = false;
}

void MainForm::logNoteAndShow(Extra line,
                              const std::vector<std::pair<std::string_view, std::string>>& values,
                              ShowNote show) {
    const std::string note = extraMessage(line, values);
    addingNote_ = true;
    log(note);
    const std::string& status = text(Ctl::Edit3);
    setText(Ctl::Edit3,
            show == ShowNote::BelowStatus && !status.empty() ? status + "\n" + note : note);
    addingNote_ = false;
}

void MainForm::logMessageAndShow(std::size_t index) {
    logMessage(index);
    setText(Ctl::Edit3, messages_.at(index));
}

bool MainForm::deliverDueTick() {
    if (!countdown_.takeDueTick()) return false;
    TimeoutTickerTimer();
    return true;
}

void MainForm::FormCreate() {
    languageCode = '1';
    zmiana_jezyka(languageCode);
    zmiana_logo(kStartupBrandKey);
    // Cancel is there to be pressed while an operation runs; the window starts with none.
    setEnabled(Ctl::Button1, false);
}

void MainForm::Button1Click() {
    countdown_.cancel(operationRunning_);
}

bool MainForm::beginOperation(OperationKind kind) {
    if (operationRunning_) return false;
    for (Ctl id : kHeldDuringOperations) {
        enabledAfterOperation_[index(id)] = controls_[index(id)].enabled;
        showEnabled(id, false);
    }
    enabledAfterOperation_[index(Ctl::Button1)] = controls_[index(Ctl::Button1)].enabled;
    showEnabled(Ctl::Button1, true);
    operationRunning_ = true;
    operationKind_ = kind;
    countdown_.forgetKeptCancel();
    shell_.keepSystemAwake(true);
    return true;
}

void MainForm::endOperation() {
    operationRunning_ = false;
    for (Ctl id : kHeldDuringOperations) showEnabled(id, enabledAfterOperation_[index(id)]);
    showEnabled(Ctl::Button1, enabledAfterOperation_[index(Ctl::Button1)]);
    shell_.keepSystemAwake(false);
}

std::optional<WindowText> MainForm::closeQuestion() const {
    if (!operationRunning_) return std::nullopt;
    switch (operationKind_) {
        case OperationKind::FirmwareWrite: return WindowText::StopFirmwareWrite;
        case OperationKind::ParameterWrite: return WindowText::StopParameterWrite;
        case OperationKind::Read: break;
    }
    return std::nullopt;
}

void MainForm::TimeoutTickerTimer() {
    countdown_.tick();
}

void MainForm::ClearClick() {
    clearLines(Ctl::Memo1);
}

void MainForm::RadioGroup1Click() {
    for (const LanguageRow& row : kLanguages) {
        if (checked(row.button)) languageCode = row.code;
    }
    clearLines(Ctl::meLog);
    setText(Ctl::Edit3, "");
    zmiana_jezyka(languageCode);
}

void MainForm::zmiana_jezyka(char code) {
    const auto language = languageForCode(code);
    if (!language) return;
    const auto lang = static_cast<std::size_t>(*language);
    const auto& rows = captionRows();
    for (std::size_t i = 0; i < kCaptionsBeforeMessages; ++i) {
        setText(rows[i].control, std::string(rows[i].text[lang]));
    }
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        messages_[i] = std::string(messageText(i, *language));
    }
    for (std::size_t i = kCaptionsBeforeMessages; i < rows.size(); ++i) {
        setText(rows[i].control, std::string(rows[i].text[lang]));
    }
    // The window's added controls follow the language too.
    for (const auto& [control, text] : kAddedCaptions) {
        setText(control, std::string(canprog::windowText(text, *language)));
    }
}

void MainForm::zmiana_logo(char key) {
    for (const auto& brand : brands()) setVisible(brand.logo, false);
    const auto brand = brandForKey(key);
    if (!brand) return;
    messages_[kBrandAddressEntry] = std::string(brand->webAddress);
    setWindowCaption(std::string(brand->caption));
    setApplicationTitle(std::string(brand->caption));
    setVisible(brand->logo, true);
}

void MainForm::LOGOClick() {
    // An empty address opens nothing and shows nothing.
    if (!brandWebAddress().empty()) shell_.openUrl(brandWebAddress());
}

void startUp(MainForm& form) {
    form.setApplicationTitle("Durant - Bootloader");
    form.FormCreate();
}

}  // namespace canprog
