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
};

// Checks the settings before anything touches the port; the reason when one is invalid.
std::optional<std::string> invalidSetting(const ParameterSettings& settings);

int runParamsRead(const ModuleOptions& options, bool json, std::ostream& out, std::ostream& err);
int runParamsWrite(const ModuleOptions& options, const ParameterSettings& settings,
                   std::ostream& out, std::ostream& err);

}  // namespace canprog::cli
