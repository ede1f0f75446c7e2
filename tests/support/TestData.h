#pragma once

#include <filesystem>
#include <string>

namespace canprog::testing {

// Path of a file in tests/data.
inline std::string dataFile(const std::string& name) {
    return (std::filesystem::path(CANPROG_TEST_DATA_DIR) / name).string();
}

}  // namespace canprog::testing
