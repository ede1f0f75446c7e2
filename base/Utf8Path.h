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

// A path's file name and its folder, split at its last separator, whichever the system wrote
// ('/' or '\\'): the folder is empty for a name without one.
inline std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
inline std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace canprog
