#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "ModuleCommands.h"

namespace canprog::cli {

// The settings that `params write` changes; what is not named stays as read.
struct ParameterSettings {
    std::optional<std::string> pin;         // four digits
    std::optional<std::string> mode;        // FI or FA
    std::optional<std::string> canProgram;  // two decimal digits
    std::map<int, int> options;             // option 1..9 -> bit 0/1
    std::optional<int> fs1, fs2, fs3;       // 0/1

    bool empty() const {
        return !pin && !mode && !canProgram && options.empty() && !fs1 && !fs2 && !fs3;
    }
};

// Checks the settings before anything touches the port; the reason when one is invalid.
std::optional<std::string> invalidSetting(const ParameterSettings& settings);

// `params read`: the settings as a table in the chosen language, or one JSON object.
int runParamsRead(const ModuleOptions& options, bool json, std::ostream& out, std::ostream& err);
// How `params write` writes.
struct ParamsWriteOptions {
    bool verify = true;   // the EEPROM read back before the restart
    bool dryRun = false;  // print what would change and write nothing
};

// `params write`: a read, every setting that will change printed (also those the module's
// write rule changes unnamed), the named settings changed, the block written back and verified.
int runParamsWrite(const ModuleOptions& options, const ParameterSettings& settings,
                   const ParamsWriteOptions& write, std::ostream& out, std::ostream& err);
// `params save FILE`: the block, its settings, the device ID and the time, to a file that does
// not exist yet (or replacing it, with `replace`).
int runParamsSave(const ModuleOptions& options, const std::string& file, bool replace,
                  std::ostream& out, std::ostream& err);

// How `params restore` puts a block back.
struct RestoreOptions {
    bool verify = true;            // the EEPROM read back before the restart
    bool anyModule = false;        // into another module, or over another program, too
    bool withVersionText = false;  // the file's version text instead of the module's own
};

// `params restore FILE`: a saved block written back, checked against the module first (its
// device ID and program), the module's own version text kept, and verified.
int runParamsRestore(const ModuleOptions& options, const std::string& file,
                     const RestoreOptions& restore, std::ostream& out, std::ostream& err);

}  // namespace canprog::cli
