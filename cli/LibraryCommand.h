#pragma once

#include <iosfwd>
#include <string>

namespace canprog::cli {

// `library FOLDER [--find TEXT] [--json]`: the firmware files of a folder and its subfolders
// with their version text and CAN program list, those that `find` finds with the lines it
// finds; broken files are listed as such. Its exit code.
int runLibrary(const std::string& folder, const std::string& find, bool json, std::ostream& out,
               std::ostream& err);

}  // namespace canprog::cli
