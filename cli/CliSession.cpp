#include "CliSession.h"

#include "Console.h"
#include "model/LanguageTables.h"

#include <array>
#include <ostream>
#include <utility>

namespace canprog::cli {

std::optional<char> languageCodeFor(const std::string& name) {
    if (const LanguageRow* row = languageNamed(name)) return row->code;
    return std::nullopt;
}

CliSession::CliSession(char languageCode, std::ostream& out, std::ostream& err)
    : form_(*this), out_(out), err_(err) {
    startUp(form_);
    form_.languageCode = languageCode;
    form_.zmiana_jezyka(languageCode);
    form_.addListener(this);
}

CliSession::~CliSession() {
    form_.removeListener(this);
}

void CliSession::keepSystemAwake(bool on) {
    cli::keepSystemAwake(on);
}

// The log's lines, and the parameters page's status line where it says more than the log:
// a parameter write's time-out or Cancel is shown there only. A status text that repeats the
// line just printed (or that the log repeats next) is printed once.
void CliSession::controlChanged(Ctl id, Change what) {
    if (id == Ctl::meLog && what == Change::LineAdded) {
        const std::string& line = form_.logLines().back();
        if (form_.addingNote()) {
            if (beforeEachLine_) beforeEachLine_();
            err_ << line << '\n' << std::flush;
            return;
        }
        if (lastWasStatus_ && line == lastPrinted_) {
            lastWasStatus_ = false;
            return;
        }
        print(line, false);
    } else if (id == Ctl::Edit3 && what == Change::Text) {
        if (form_.addingNote()) return;  // the note itself goes to the notes' stream
        const std::string& status = form_.text(Ctl::Edit3);
        if (status.empty() || status == lastPrinted_) return;
        print(status, true);
    }
}

void CliSession::print(const std::string& line, bool fromStatusLine) {
    if (beforeEachLine_) beforeEachLine_();
    out_ << line << '\n' << std::flush;
    lastPrinted_ = line;
    lastWasStatus_ = fromStatusLine;
}

}  // namespace canprog::cli
