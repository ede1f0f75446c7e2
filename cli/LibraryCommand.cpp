#include "LibraryCommand.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <ostream>

#include "ExitCodes.h"
#include "operations/FirmwareLibrary.h"

namespace canprog::cli {

namespace {

nlohmann::json jsonOf(const LibraryMatch& match) {
    const LibraryEntry& entry = *match.entry;
    return {{"file", entry.name},
            {"path", entry.path},
            {"version", entry.broken() ? nlohmann::json(nullptr) : nlohmann::json(entry.version)},
            {"can_programs", entry.canPrograms},
            {"lines", match.lines},
            {"problem", entry.broken() ? nlohmann::json(entry.problem) : nlohmann::json(nullptr)}};
}

void printPlain(const LibraryMatch& match, std::ostream& out) {
    const LibraryEntry& entry = *match.entry;
    if (entry.broken()) {
        fmt::print(out, "{}  (not a firmware file that loads: {})\n", entry.name, entry.problem);
        return;
    }
    fmt::print(out, "{}  {}\n", entry.name,
               entry.version.empty() ? "(no version text)" : entry.version);
    for (const std::string& line : match.lines) fmt::print(out, "    {}\n", line);
}

}  // namespace

int runLibrary(const std::string& folder, const std::string& find, bool json, std::ostream& out,
               std::ostream& err) {
    std::string problem;
    const std::vector<LibraryEntry> entries = scanFirmwareLibrary(folder, &problem);
    if (!problem.empty()) {
        fmt::print(err, "{}: the folder cannot be read: {}\n", folder, problem);
        return kExitFirmwareFile;
    }
    const std::vector<LibraryMatch> matches = findInLibrary(entries, find);
    if (json) {
        nlohmann::json files = nlohmann::json::array();
        for (const LibraryMatch& match : matches) files.push_back(jsonOf(match));
        out << nlohmann::json{{"folder", folder}, {"find", find}, {"files", files}}.dump(
                   2, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
        return kExitOk;
    }
    for (const LibraryMatch& match : matches) printPlain(match, out);
    if (entries.empty()) {
        fmt::print(err, "{}: no firmware files (.hexfw, .hex) in the folder\n", folder);
    } else if (matches.empty()) {
        fmt::print(err, "{}: no firmware file matches \"{}\"\n", folder, find);
    }
    return kExitOk;
}

}  // namespace canprog::cli
