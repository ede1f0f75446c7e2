#pragma once

#include <string>
#include <vector>

namespace canprog {

// One firmware file of a folder, as the library lists it.
struct LibraryEntry {
    std::string path;     // as the system names it (UTF-8)
    std::string name;     // relative to the folder, with '/' between folders
    std::string problem;  // why it is not a firmware file that loads; empty when it is
    std::string version;  // the program version text of its EEPROM; empty when it has none
    std::vector<std::string> lines;        // its CAN program list, UTF-8
    std::vector<std::string> canPrograms;  // the program numbers the list names

    bool broken() const { return !problem.empty(); }
};

// Every firmware file (.hexfw and .hex, whatever the case of the suffix) in a folder and its
// subfolders, sorted by name. A file that cannot be read or does not load is listed with its
// problem; a subfolder that cannot be entered is passed over. Nothing stops the scan; a folder
// that cannot be read at all gives `folderProblem`.
std::vector<LibraryEntry> scanFirmwareLibrary(const std::string& folder,
                                              std::string* folderProblem = nullptr);

// An entry that a search text finds, with the lines it finds in it.
struct LibraryMatch {
    const LibraryEntry* entry;
    std::vector<std::string> lines;  // of its CAN program list; all of them for an empty text
};

// The entries in whose name, version text or CAN program list `text` stands, without regard
// to case (also of the Polish, Czech, Slovak, Hungarian, German and Russian letters); every
// entry for an empty text. An entry found by its name or version shows its whole list.
std::vector<LibraryMatch> findInLibrary(const std::vector<LibraryEntry>& entries,
                                        const std::string& text);

}  // namespace canprog
