#pragma once

#include <string>

namespace canprog::testing {

// Path of a file in tests/data.
inline std::string dataFile(const std::string& name) {
    return std::string(CANPROG_TEST_DATA_DIR) + "/" + name;
}

}  // namespace canprog::testing
