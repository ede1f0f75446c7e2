#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "model/MainForm.h"
#include "model/PlatformShell.h"

namespace canprog::cli {

// The language code character for a --lang value (pl, en, de, ru, sk, cz, hu).
std::optional<char> languageCodeFor(const std::string& name);

// The window's model as the command line runs it: started in the chosen language, printing
// every line the window's log would show on `out` as it is added, and the status line's texts
// that the log does not show. The log's notes (why something failed, what to do) go to `err`.
class CliSession : public PlatformShell, public ModelListener {
  public:
    CliSession(char languageCode, std::ostream& out, std::ostream& err);
    ~CliSession() override;

    MainForm& form() { return form_; }
    // Runs before every line is printed (a progress line on the terminal ends itself there).
    void beforeEachLine(std::function<void()> hook) { beforeEachLine_ = std::move(hook); }

    // No browser and no dialogs on the command line.
    void openUrl(const std::string&) override {}
    std::optional<std::string> chooseFileToOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void keepSystemAwake(bool on) override;

  private:
    void controlChanged(Ctl id, Change what) override;
    void print(const std::string& line, bool fromStatusLine);

    MainForm form_;
    std::ostream& out_;
    std::ostream& err_;
    std::function<void()> beforeEachLine_;
    std::string lastPrinted_;
    bool lastWasStatus_ = false;
};

}  // namespace canprog::cli
