#include "ProgressLine.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "model/MessageIndex.h"

namespace canprog::cli {

ProgressLine::ProgressLine(MainForm& form, const ModuleFacts& facts, std::ostream& terminal)
    : form_(form), facts_(facts), terminal_(terminal) {
    form_.addListener(this);
}

ProgressLine::~ProgressLine() {
    form_.removeListener(this);
    end();
}

void ProgressLine::end() {
    if (drawn_) terminal_ << '\n' << std::flush;
    drawn_ = false;
}

// The phase follows the log: each phase begins with its own line.
void ProgressLine::controlChanged(Ctl id, Change what) {
    if (id == Ctl::meLog && what == Change::LineAdded) {
        const std::string& line = form_.logLines().back();
        if (line == form_.message(msg::Searching)) enter(Phase::Waiting);
        if (line == form_.message(msg::ReadingEeprom)) enter(Phase::Reading);
        if (line == form_.message(msg::FlashWriting)) enter(Phase::Flash);
        if (line == form_.message(msg::EepromWriting)) enter(Phase::Eeprom);
        if (line == form_.extraMessage(Extra::VerifyingEeprom)) enter(Phase::Verifying);
        return;
    }
    if ((id == Ctl::ProgressBar || id == Ctl::Edit1) && phase_ != Phase::None) draw();
}

void ProgressLine::enter(Phase phase) {
    phase_ = phase;
    phaseStart_ = std::chrono::steady_clock::now();
    firstDone_ = phase == Phase::Flash    ? facts_.written.flashAcknowledged
                 : phase == Phase::Eeprom ? facts_.written.eepromAcknowledged
                                          : 0;
    draw();
}

void ProgressLine::draw() {
    std::string text;
    switch (phase_) {
        case Phase::None: return;
        case Phase::Waiting: text = "waiting for the bootloader"; break;
        case Phase::Reading: text = "reading the module's EEPROM"; break;
        case Phase::Verifying: text = "verifying the EEPROM"; break;
        case Phase::Flash:
        case Phase::Eeprom: {
            const bool flash = phase_ == Phase::Flash;
            const int done =
                flash ? facts_.written.flashAcknowledged : facts_.written.eepromAcknowledged;
            const int total = flash ? facts_.written.flashTotal : facts_.written.eepromTotal;
            text = fmt::format("{:<6}  {:>4}/{:<4}  {:>3}%", flash ? "FLASH" : "EEPROM", done,
                               total, total > 0 ? 100 * done / total : 0);
            const int doneHere = done - firstDone_;
            if (doneHere > 0 && total > done) {
                const auto elapsed = std::chrono::steady_clock::now() - phaseStart_;
                const auto left = std::chrono::duration_cast<std::chrono::seconds>(
                    elapsed * (total - done) / doneHere);
                text += fmt::format("  {}:{:02} left", left.count() / 60, left.count() % 60);
            }
            break;
        }
    }
    fmt::print(terminal_, "\r{:<40}", text);
    terminal_ << std::flush;
    drawn_ = true;
}

}  // namespace canprog::cli
