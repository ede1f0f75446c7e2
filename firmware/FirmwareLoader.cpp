#include "FirmwareLoader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace canprog {

FirmwareLoadResult loadFirmwareData(std::string_view data, bool decode, FirmwareImages& images) {
    images.erase();
    images.flashTop = -1;
    images.eepromTop = -1;
    images.currentAddress = 0;
    images.decodeLineCounter = 0;

    LineReader file(data);
    FirmwareLoadResult result;
    HexLineResult line = HexLineResult::Accepted;
    while (!file.atEnd() && line == HexLineResult::Accepted) {
        line = parseHexLine(file, decode, images, &result.problem);
    }
    if (line == HexLineResult::EndOfFile) {
        result.status = FirmwareLoadResult::Status::Loaded;
    } else if (line == HexLineResult::Accepted) {
        result.problem = {file.lineNumber(), "file ends without the end record :00000001FF"};
    }
    return result;
}

bool readFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = std::strerror(errno);
        return false;
    }
    return true;
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
