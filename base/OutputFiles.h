#pragma once

#include <optional>
#include <string>

namespace canprog {

// The files the command line writes: backups, saved blocks, the bench's log. None of them
// destroys a file that this run did not write: a new file's name must not exist yet unless
// replacing it was asked for, and nothing is ever written into something that is not a
// regular file (a FIFO or a device would block or swallow it).

// Why `file` cannot be written as a new file, or nothing when it can: it exists and
// `replace` is false, or it exists and is not a regular file.
std::optional<std::string> refusedNewFile(const std::string& file, bool replace);

// Writes `text` as the whole of a new file (replacing an existing regular file only when
// `replace`). The text goes to a temporary file beside it first, so that a failure never
// leaves half a file. False, and why, when it could not be written.
bool writeNewFile(const std::string& file, const std::string& text, bool replace, std::string& why);

// Why lines cannot be appended to `file`, or nothing when they can: it exists and is not a
// regular file.
std::optional<std::string> refusedLog(const std::string& file);
// Appends one line to a log file, created when it does not exist. False, and why, on failure.
bool appendLine(const std::string& file, const std::string& line, std::string& why);

// The file of module `number` of a bench run: "old.json" gives "old-3.json".
std::string numberedFile(const std::string& file, int number);

}  // namespace canprog
