#include "ProgressLine.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>

#include "model/MessageIndex.h"

namespace canprog::cli {

ProgressLine::ProgressLine(MainForm& form, const ModuleFacts& facts, std::ostream& terminal,
                           std::function<int()> columns)
    : form_(form), facts_(facts), terminal_(terminal), columns_(std::move(columns)) {
    form_.addListener(this);
}

ProgressLine::~ProgressLine() {
    form_.removeListener(this);
    end();
}

void ProgressLine::end() {
    phase_ = Phase::None;
    if (drawnLength_ == 0) return;
    terminal_ << '\r' << std::string(drawnLength_, ' ') << '\r' << std::flush;
    drawnLength_ = 0;
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
    if ((id == Ctl::Edit1 || id == Ctl::Edit3) && what == Change::Text) status_ = form_.text(id);
    if ((id == Ctl::ProgressBar || id == Ctl::Edit1 || id == Ctl::Edit3) && phase_ != Phase::None) {
        draw();
    }
}

void ProgressLine::enter(Phase phase) {
    phase_ = phase;
    status_.clear();
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
        case Phase::Waiting:
            text = statusWhileWaiting_ && !status_.empty() ? status_ : "waiting for the bootloader";
            break;
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
    // One column short of the width: a line that fills the last column wraps on some
    // terminals, and a carriage return then goes back to the start of the second line only.
    const int columns = columns_ ? columns_() : 0;
    if (columns > 0 && text.size() >= static_cast<std::size_t>(columns)) {
        text.resize(static_cast<std::size_t>(std::max(columns - 1, 0)));
    }
    // What stood there before and is longer is blanked out, within the width too.
    std::size_t wipe = drawnLength_ > text.size() ? drawnLength_ - text.size() : 0;
    if (columns > 0) {
        wipe = std::min(wipe, static_cast<std::size_t>(columns - 1) - text.size());
    }
    terminal_ << '\r' << text << std::string(wipe, ' ');
    if (wipe > 0) terminal_ << '\r' << text;
    terminal_ << std::flush;
    drawnLength_ = text.size();
}

}  // namespace canprog::cli
