#pragma once

#include <string>
#include <vector>

namespace canprog::cli {

// The program's arguments as UTF-8, whatever the system's own code page: on Windows they are
// taken from the wide command line, so that a file name with Polish or Czech letters arrives
// whole.
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace canprog::cli
