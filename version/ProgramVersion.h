#pragma once

#include <string>

namespace canprog {

// The version the programs report: the project's version ("0.1.0"), followed by the commit
// (" (commit 1a2b3c4)") when they were built from a git checkout.
std::string programVersion();

}  // namespace canprog
