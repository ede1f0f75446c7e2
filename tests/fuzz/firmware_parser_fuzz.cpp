// libFuzzer target for the parsers of untrusted firmware files: the line reader, the line
// decoder, the record parser (plain and encoded), the program list and the .hexfw codec.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "firmware/FirmwareLoader.h"
#include "firmware/HexText.h"
#include "firmware/HexfwCodec.h"
#include "firmware/ProgramList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    canprog::FirmwareImages images;
    canprog::loadFirmwareData(bytes, false, images);
    canprog::loadFirmwareData(bytes, true, images);
    canprog::readProgramList(bytes, true);
    canprog::readProgramList(bytes, false);
    const auto encoded = canprog::encodeHexfw(bytes);
    if (encoded.ok) canprog::decodeHexfw(encoded.output);
    canprog::hexPairToByte(bytes);
    canprog::decodeLine(bytes, bytes.substr(0, size % 13), size % 2 == 0);
    return 0;
}
