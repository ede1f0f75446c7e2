#include "FirmwareLoader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ProgramList.h"
#include "base/Utf8Path.h"

namespace canprog {

FirmwareLoadResult loadFirmwareData(std::string_view data, bool decode, FirmwareImages& images) {
    images.erase();
    images.flashTop = -1;
    images.eepromTop = -1;
    images.currentAddress = 0;
    images.decodeLineCounter = 0;
    images.canPrograms.clear();

    LineReader file(data);
    FirmwareLoadResult result;
    HexLineResult line = HexLineResult::Accepted;
    while (!file.atEnd() && line == HexLineResult::Accepted) {
        line = parseHexLine(file, decode, images, &result.problem);
    }
    if (line == HexLineResult::EndOfFile) {
        result.status = FirmwareLoadResult::Status::Loaded;
        images.canPrograms = canProgramNumbers(readProgramList(data, decode));
    } else if (line == HexLineResult::Accepted) {
        result.problem = {file.lineNumber(), "file ends without the end record :00000001FF"};
    }
    return result;
}

bool isEncodedFileName(const std::string& path) {
    constexpr std::string_view kSuffix = ".hexfw";
    if (path.size() < kSuffix.size()) return false;
    return std::equal(
        kSuffix.begin(), kSuffix.end(), path.end() - kSuffix.size(),
        [](char want, char got) { return want == std::tolower(static_cast<unsigned char>(got)); });
}

bool readFileBytes(const std::string& path, std::string& bytes, std::string& error,
                   FileSizeLimit limit) {
    namespace fs = std::filesystem;
    try {
        const fs::path file = utf8Path(path);
        std::error_code status_error;
        const fs::file_status status = fs::status(file, status_error);
        if (status_error) {
            error = status_error.message();
            return false;
        }
        if (fs::is_directory(status)) {
            error = std::strerror(EISDIR);
            return false;
        }
        if (!fs::is_regular_file(status)) {
            error = "not a regular file";
            return false;
        }
        std::error_code size_error;
        if (fs::file_size(file, size_error) > limit.bytes && !size_error) {
            error = limit.refusal;
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = std::strerror(errno);
            return false;
        }
        // Read at most one byte past the limit, so that a file growing meanwhile is caught too.
        bytes.clear();
        char chunk[16384];
        while (in && bytes.size() <= limit.bytes) {
            in.read(chunk, sizeof chunk);
            bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad()) {
            error = std::strerror(errno);
            return false;
        }
        if (bytes.size() > limit.bytes) {
            bytes.clear();
            error = limit.refusal;
            return false;
        }
        return true;
    } catch (const std::exception& failure) {
        bytes.clear();
        error = failure.what();
        return false;
    }
}

FirmwareLoadResult loadFirmwareFile(const std::string& path, bool decode, FirmwareImages& images) {
    images.erase();
    std::string bytes;
    std::string error;
    if (!readFileBytes(path, bytes, error)) {
        FirmwareLoadResult result;
        result.status = FirmwareLoadResult::Status::CannotOpen;
        result.problem = {0, error};
        return result;
    }
    return loadFirmwareData(bytes, decode, images);
}

}  // namespace canprog
