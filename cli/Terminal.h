#pragma once

namespace canprog::cli {

// Whether the standard error stream is a terminal (a console on Windows), where a progress
// bar can be drawn in place.
bool stderrIsTerminal();

}  // namespace canprog::cli
