#pragma once

#include <optional>
#include <string>

namespace canprog {

// The files the command line writes: backups, saved blocks, the bench's log, the trace, the
// images and conversions. None of them destroys a file that this run did not write: a new
// file's name must not exist yet unless replacing it was asked for, a symbolic link is never
// turned into a file, and nothing is ever written into something that is not a regular file
// (a FIFO or a device would block or swallow it). Each can be asked first, before the module
// is touched, whether it could be written at all.

// Why `file` cannot be written as a new file, or nothing when it can: it exists and `replace`
// is false, it is a symbolic link or not a regular file, its name is one the system keeps for
// a device, or the folder it would go into does not take it (found out by creating and
// removing the temporary file that writeNewFile writes first).
std::optional<std::string> refusedNewFile(const std::string& file, bool replace);

// Writes `text` as the whole of a new file (replacing an existing regular file only when
// `replace`). The text goes to a temporary file beside it first, so that a failure never
// leaves half a file. False, and why, when it could not be written.
bool writeNewFile(const std::string& file, const std::string& text, bool replace, std::string& why);

// Why lines cannot be appended to `file`, or nothing when they can: it is not a regular file,
// its name is kept for a device, or it (or its folder, when it does not exist yet) cannot be
// written.
std::optional<std::string> refusedLog(const std::string& file);
// Appends one line to a log file, created when it does not exist. False, and why, on failure.
bool appendLine(const std::string& file, const std::string& line, std::string& why);

// The file of module `number` of a bench run: "old.json" gives "old-3.json".
std::string numberedFile(const std::string& file, int number);

// The system's text for an error number, said as a person at the bench reads it where there
// is a plainer way ("the disk is full").
std::string writeErrorText(int error);

}  // namespace canprog
