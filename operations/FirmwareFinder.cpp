#include "FirmwareFinder.h"

#include "FileChoice.h"
#include "base/Utf8Path.h"
#include "model/ExtraMessages.h"
#include "model/PlatformShell.h"

namespace canprog {

void FirmwareFinder::setFolder(const std::string& folder) {
    folder_ = folder;
    entries_ = folder.empty() ? std::vector<LibraryEntry>{} : scanFirmwareLibrary(folder);
    refreshRows();
}

void FirmwareFinder::setSearchText(const std::string& text) {
    search_ = text;
    refreshRows();
}

void FirmwareFinder::refreshRows() {
    rows_.clear();
    for (const LibraryMatch& match : findInLibrary(entries_, search_)) {
        const LibraryEntry& entry = *match.entry;
        if (entry.broken()) {
            rows_.push_back({fillIn(form_.windowText(WindowText::BrokenFirmware),
                                    {{"file", entry.name}, {"problem", entry.problem}}),
                             entry.path, false});
            continue;
        }
        std::string text = entry.name;
        if (!entry.version.empty()) text += " — " + entry.version;
        std::string lines;
        for (const std::string& line : match.lines) lines += (lines.empty() ? "" : "; ") + line;
        if (!lines.empty()) text += " — " + lines;
        rows_.push_back({std::move(text), entry.path, true});
    }
}

void FindFirmwareClick(MainForm& form) {
    if (form.operationRunning()) return;
    FirmwareFinder finder(form);
    // The chosen file's folder.
    if (const std::string folder = folderOf(form.firmwareFileName); !folder.empty()) {
        finder.setFolder(folder);
    }
    const auto file = form.shell().chooseFirmware(finder);
    if (file) useFirmwareFile(form, *file);
}

}  // namespace canprog
