#include "WindowLink.h"

#include "model/MessageIndex.h"

namespace canprog {

void FormLinkReport::showWakeUpAs(const ExchangeStart& start) {
    barsFollowing_ = start.barsFollowing;
    shownIn_ = start.shownIn;
    linkedText_ = start.linkedText;
}

void FormLinkReport::status(const std::string& text) {
    form_.setText(Ctl::Edit1, text);
}

void FormLinkReport::wakeUpProgress(int ticksLeft) {
    for (Ctl bar : barsFollowing_) form_.setProgressPosition(bar, ticksLeft);
}

void FormLinkReport::wakeUpProgressEnded() {
    for (Ctl bar : barsFollowing_) form_.setProgressPosition(bar, form_.control(bar).minimum);
}

void FormLinkReport::show(std::size_t message) {
    if (shownIn_ == WakeUpShownIn::LogAndStatusLine) {
        form_.logMessageAndShow(message);
    } else {
        form_.logMessage(message);
    }
}

void FormLinkReport::wakeUp(WakeUpStep step) {
    const bool statusLine = shownIn_ == WakeUpShownIn::LogAndStatusLine;
    switch (step) {
        case WakeUpStep::Searching: show(msg::Searching); break;
        case WakeUpStep::Linked:
            if (linkedText_ == LinkedText::Message3) {
                show(msg::Ok);
            } else {
                form_.log("OK");
                if (statusLine) form_.setText(Ctl::Edit3, "OK");
            }
            break;
        case WakeUpStep::Cancelled: show(msg::Cancel); break;
        case WakeUpStep::NoBootloader:
            show(msg::NoBootloader);
            if (statusLine) {
                form_.logNoteAndShow(Extra::CheckTheConnection, {},
                                     MainForm::ShowNote::BelowStatus);
            } else {
                form_.logNote(Extra::CheckTheConnection);
            }
            break;
    }
}

bool FormLinkReport::newKeyWanted() {
    return form_.checked(Ctl::PICencoding);
}

WindowLink::WindowLink(MainForm& form, MessagePump& pump, serial::TSlioComPort& port)
    : HeldReport(form),
      BootloaderLink(report, pump, form.countdown(), form.linkKey, port),
      form_(form) {}

bool WindowLink::openModulePort(bool showOpeningText) {
    return BootloaderLink::openModulePort(form_.selectedPortNumber(), showOpeningText);
}

std::optional<OperationOutcome> WindowLink::startExchange(
    const ExchangeStart& start, const std::function<void()>& beforeWakeUp) {
    loadCountdown(start.startTicks);
    port().DiscardInput();
    for (Ctl bar : start.barsLoaded) {
        form_.setProgressRange(bar, 0, start.startTicks);
        form_.setProgressPosition(bar, start.startTicks);
    }
    if (beforeWakeUp) beforeWakeUp();
    if (start.purgeBeforeWakeUp) {
        port().DiscardInput();
        port().DiscardOutput();
    }
    report.showWakeUpAs(start);
    const WaitResult wake = wakeBootloader(start.pauses);
    if (wake == WaitResult::Success) return std::nullopt;
    return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                         : OperationOutcome::NoBootloader;
}

}  // namespace canprog
