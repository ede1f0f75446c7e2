#pragma once

#include <optional>
#include <string>

#include "FirmwareSearch.h"
#include "serial/SystemInfo.h"

namespace canprog {

// Desktop services the window asks for, supplied by the front end.
class PlatformShell {
  public:
    virtual ~PlatformShell() = default;

    // Opens a web address in the user's browser; the result is not examined.
    virtual void openUrl(const std::string& address) = 0;

    // Shows the file-open dialog with a filter ("Description (*.ext)|*.ext") and a default
    // extension ("*.ext"); the chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                        const std::string& defaultExtension) = 0;

    // Shows the file-save dialog (which asks before a file is replaced); the chosen full path,
    // or nothing when the user cancels. A shell without dialogs chooses nothing.
    virtual std::optional<std::string> chooseFileToSave(const std::string& /*filter*/,
                                                        const std::string& /*defaultExtension*/) {
        return std::nullopt;
    }

    // Shows the "Find firmware..." window over `search` until the user chooses a usable row
    // (its file) or closes it (nothing). A shell without windows chooses nothing.
    virtual std::optional<std::string> chooseFirmware(FirmwareSearch& /*search*/) {
        return std::nullopt;
    }

    // Asks the user a question that nothing waits on (no port is open): true for `yes`. A shell
    // that cannot ask answers no.
    virtual bool confirm(const std::string& /*question*/, const std::string& /*yes*/,
                         const std::string& /*no*/) {
        return false;
    }

    // Keeps the system from sleeping while `on`: an operation that talks to the module must
    // not be cut off by a laptop going to sleep. A system that cannot say so goes on without.
    virtual void keepSystemAwake(bool /*on*/) {}
    // Whether the computer runs on its battery, when a write is about to start.
    virtual bool onBatteryPower() { return serial::onBatteryPower(); }
};

// The shell of a form that is never shown (a block described in words, a benchmark): it opens
// nothing and chooses nothing.
class NoShell : public PlatformShell {
  public:
    void openUrl(const std::string&) override {}
    std::optional<std::string> chooseFileToOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

}  // namespace canprog
