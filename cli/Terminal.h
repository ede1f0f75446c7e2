#pragma once

namespace canprog::cli {

// Whether the standard error stream is a terminal (a console on Windows), where a progress
// line can be drawn in place.
bool stderrIsTerminal();

// Makes the terminal show the program's UTF-8 output as letters (a Windows console takes the
// output code page; a POSIX terminal needs nothing).
void prepareConsole();

}  // namespace canprog::cli
