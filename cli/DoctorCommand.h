#pragma once

#include <iosfwd>

#include "ModuleCommands.h"

namespace canprog::cli {

// `doctor [--loopback] [--json]`: what is behind the port and whether anything stops the
// connection, each finding with what to do; then, with TX joined to RX, bytes sent and looked
// for, otherwise the module itself. 0 when nothing stands in the way.
int runDoctor(const ModuleOptions& options, bool loopback, bool json, std::ostream& out,
              std::ostream& err);

}  // namespace canprog::cli
