#include "FirmwareLibrary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/CaseFold.h"
#include "base/Utf8Path.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "firmware/Cp1250.h"
#include "firmware/FirmwareLoader.h"
#include "firmware/ProgramList.h"

namespace canprog {

namespace {

namespace fs = std::filesystem;

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return {text.begin(), text.end()};
}

bool isFirmwareName(const fs::path& path) {
    const std::string name = utf8Of(path.filename());
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string suffix = foldCase(name.substr(dot));
    return suffix == ".hex" || suffix == ".hexfw";
}

// One file read, loaded and described; its problem when it does not load.
LibraryEntry describe(const fs::path& file, const fs::path& folder) {
    LibraryEntry entry;
    entry.path = utf8Of(file);
    std::error_code error;
    const fs::path relative = fs::relative(file, folder, error);
    entry.name = utf8Of(error ? file.filename() : relative);
    std::string bytes;
    std::string why;
    if (!readFileBytes(entry.path, bytes, why)) {
        entry.problem = why;
        return entry;
    }
    const bool decode = isEncodedFileName(entry.path);
    FirmwareImages images;
    const FirmwareLoadResult loaded = loadFirmwareData(bytes, decode, images);
    if (!loaded.loaded()) {
        entry.problem =
            loaded.problem.lineNumber > 0
                ? "line " + std::to_string(loaded.problem.lineNumber) + ": " + loaded.problem.reason
                : loaded.problem.reason;
        return entry;
    }
    if (images.eepromTop >= static_cast<std::int32_t>(kVersionTextAddress)) {
        entry.version = programVersionText(images.eepromImage);
    }
    for (const std::string& line : readProgramList(bytes, decode).lines) {
        entry.lines.push_back(cp1250ToUtf8(line));
    }
    entry.canPrograms = std::move(images.canPrograms);
    return entry;
}

}  // namespace

std::vector<LibraryEntry> scanFirmwareLibrary(const std::string& folder,
                                              std::string* folderProblem) {
    std::vector<LibraryEntry> entries;
    const fs::path root = utf8Path(folder);
    std::error_code error;
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied,
                                          error);
    if (error) {
        if (folderProblem) *folderProblem = error.message();
        return entries;
    }
    for (const fs::recursive_directory_iterator end; walk != end; walk.increment(error)) {
        if (error) {
            error.clear();
            continue;
        }
        std::error_code kind;
        if (!walk->is_regular_file(kind) || !isFirmwareName(walk->path())) continue;
        entries.push_back(describe(walk->path(), root));
    }
    std::sort(entries.begin(), entries.end(),
              [](const LibraryEntry& a, const LibraryEntry& b) { return a.name < b.name; });
    return entries;
}

std::vector<LibraryMatch> findInLibrary(const std::vector<LibraryEntry>& entries,
                                        const std::string& text) {
    std::vector<LibraryMatch> matches;
    for (const LibraryEntry& entry : entries) {
        LibraryMatch match{&entry, {}};
        const bool whole =
            text.empty() || containsFolded(entry.name, text) || containsFolded(entry.version, text);
        for (const std::string& line : entry.lines) {
            if (whole || containsFolded(line, text)) match.lines.push_back(line);
        }
        if (whole || !match.lines.empty()) matches.push_back(std::move(match));
    }
    return matches;
}

}  // namespace canprog
