#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/MainForm.h"
#include "model/PlatformShell.h"

namespace canprog::testing {

// Records the addresses the window asks the desktop to open.
class RecordingShell : public PlatformShell {
  public:
    void openUrl(const std::string& address) override { opened.push_back(address); }
    std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                const std::string& defaultExtension) override {
        dialogFilter = filter;
        dialogExtension = defaultExtension;
        return nextChoice;
    }

    std::optional<std::string> chooseFileToSave(const std::string& filter,
                                                const std::string& defaultExtension) override {
        dialogFilter = filter;
        dialogExtension = defaultExtension;
        return nextSave;
    }
    std::optional<std::string> chooseFirmware(FirmwareSearch& search) override {
        return onFindFirmware ? onFindFirmware(search) : std::nullopt;
    }
    void keepSystemAwake(bool on) override { awake.push_back(on); }
    bool onBatteryPower() override { return onBattery; }
    bool confirm(const std::string& question, const std::string&, const std::string&) override {
        asked.push_back(question);
        return answer;
    }

    std::vector<std::string> opened;
    std::optional<std::string> nextChoice;  // what the user picks in the next file dialog
    std::optional<std::string> nextSave;    // what the user names in the next save dialog
    std::vector<bool> awake;                // every request to keep the system awake, in turn
    std::string dialogFilter;
    std::string dialogExtension;
    std::vector<std::string> asked;  // every question, in turn
    bool answer = false;             // the answer to each
    bool onBattery = false;          // the computer runs on its battery
    // What the user does in the "Find firmware..." window.
    std::function<std::optional<std::string>(FirmwareSearch&)> onFindFirmware;
};

// Calls `onLine` with every line added to the log, as it is added.
class LogWatcher : public ModelListener {
  public:
    LogWatcher(MainForm& form, std::function<void(const std::string&)> onLine)
        : form_(form), onLine_(std::move(onLine)) {
        form_.addListener(this);
    }
    ~LogWatcher() override { form_.removeListener(this); }
    void controlChanged(Ctl id, Change what) override {
        if (id == Ctl::meLog && what == Change::LineAdded) onLine_(form_.logLines().back());
    }

  private:
    MainForm& form_;
    std::function<void(const std::string&)> onLine_;
};

// Every text a control was given, in order.
class TextWatcher : public ModelListener {
  public:
    TextWatcher(MainForm& form, Ctl control) : form_(form), control_(control) {
        form_.addListener(this);
    }
    ~TextWatcher() override { form_.removeListener(this); }
    void controlChanged(Ctl id, Change what) override {
        if (id == control_ && what == Change::Text) texts.push_back(form_.text(id));
    }
    std::vector<std::string> texts;

  private:
    MainForm& form_;
    Ctl control_;
};

// A clock the test moves by hand.
struct ManualClock {
    SteadyClock::time_point now{};
    void advance(std::chrono::milliseconds by) { now += by; }
};

// A main window model on a manual clock, not yet started.
struct FormFixture {
    RecordingShell shell;
    ManualClock clock;
    MainForm form{shell, [this] { return clock.now; }};
};

}  // namespace canprog::testing
