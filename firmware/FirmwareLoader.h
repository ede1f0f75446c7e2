#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FirmwareImages.h"
#include "HexRecordParser.h"

namespace canprog {

// The outcome of loading a firmware file into the images.
struct FirmwareLoadResult {
    enum class Status { Loaded, CannotOpen, BadFile };
    Status status = Status::BadFile;
    HexLineProblem
        problem;  // line and reason when the file is bad; the OS's text when it cannot open

    bool loaded() const { return status == Status::Loaded; }
};

// Parses a firmware file's bytes up to its end record into `images`: erases both images,
// resets the tops and the loader's counters, then reads records until the end record or the
// first bad one. Lines after the end record are never read.
FirmwareLoadResult loadFirmwareData(std::string_view data, bool decode, FirmwareImages& images);

// The same for a file on disk; the file is read whole and closed before the result is judged.
FirmwareLoadResult loadFirmwareFile(const std::string& path, bool decode, FirmwareImages& images);

// Whether a firmware file is line-scrambled by its name: a .hexfw file is read as encoded, any
// other as plain HEX. Names are compared without regard to case: "UP.HEXFW" is encoded too.
bool isEncodedFileName(const std::string& path);

// The most bytes a file of a kind may have, and what a larger one is called.
struct FileSizeLimit {
    std::uintmax_t bytes;
    std::string_view refusal;  // "larger than 64 MiB: not a firmware file"
};
// A valid firmware file is well under a few megabytes; anything larger is not one.
inline constexpr FileSizeLimit kFirmwareFileLimit{64u * 1024 * 1024,
                                                  "larger than 64 MiB: not a firmware file"};

// Reads a whole file (a UTF-8 path) as bytes. Only a regular file of at most `limit` bytes is
// read: a directory, a FIFO or a device is refused before it is opened, and a larger file
// before it is read whole, so that nothing blocks or grows without limit. False, and the
// reason in `error` ("Is a directory", the system's text, the limit's refusal), when it cannot
// be read; never throws.
bool readFileBytes(const std::string& path, std::string& bytes, std::string& error,
                   FileSizeLimit limit = kFirmwareFileLimit);

}  // namespace canprog
