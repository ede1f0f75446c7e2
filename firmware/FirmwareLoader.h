#pragma once

#include <string>

#include "HexRecordParser.h"
#include "app/model/FirmwareImages.h"

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

// Reads a whole file as bytes. False (and errno's text in `error`) when it cannot be read.
bool readFileBytes(const std::string& path, std::string& bytes, std::string& error);

}  // namespace canprog
