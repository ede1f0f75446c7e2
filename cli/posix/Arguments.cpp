#include "cli/Arguments.h"

namespace canprog::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace canprog::cli
