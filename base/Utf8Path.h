#pragma once

#include <filesystem>
#include <string>

namespace canprog {

// File names travel through the program as UTF-8 on every system. A path made from them this
// way opens the right file on Windows too, where a plain narrow string would be read in the
// ANSI code page and lose every letter outside it.
inline std::filesystem::path utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace canprog
