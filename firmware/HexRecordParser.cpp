#include "HexRecordParser.h"

#include <cstdio>

#include "HexText.h"

namespace canprog {

namespace {

constexpr std::string_view kEndRecord = ":00000001FF";
constexpr std::uint8_t kDataRecord = 0x00;
constexpr std::uint8_t kExtendedLinearAddress = 0x04;

HexLineResult fail(HexLineResult result, int lineNumber, std::string reason,
                   HexLineProblem* problem) {
    if (problem) *problem = {lineNumber, std::move(reason)};
    return result;
}

HexLineResult judgeChecksum(unsigned sum, std::uint8_t checksum, int lineNumber,
                            HexLineProblem* problem) {
    if (((sum + checksum) & 0xFF) == 0) return HexLineResult::Accepted;
    return fail(HexLineResult::ChecksumError, lineNumber, "checksum error", problem);
}

void storeByte(FirmwareImages& images, std::int64_t address, std::uint8_t value) {
    if (address >= 0 && address < kFlashSize) {
        images.flashImage[static_cast<std::size_t>(address)] = value;
    } else if (address >= kEepromBase && address < kEepromBase + kEepromSize) {
        images.eepromImage[static_cast<std::size_t>(address - kEepromBase)] = value;
    }
}

void raiseTops(FirmwareImages& images, std::int64_t end) {
    if (end >= 0 && end < kFlashSize) {
        if (end > images.flashTop) images.flashTop = static_cast<std::int32_t>(end);
    } else if (end >= kEepromBase && end < kEepromBase + kEepromSize) {
        if (end - kEepromBase > images.eepromTop) {
            images.eepromTop = static_cast<std::int32_t>(end - kEepromBase);
        }
    }
}

}  // namespace

HexLineResult parseHexLine(LineReader& file, bool decode, FirmwareImages& images,
                           HexLineProblem* problem) {
    std::string line;
    int lineNumber = 0;
    if (decode) {
        images.decodeLineCounter += 1;
        line = decodeLine(file.readLine(), lineKey(images.decodeLineCounter), false);
        lineNumber = file.lineNumber();
        file.readLine();  // the pair's second line is never looked at
    } else {
        line = file.readLine();
        lineNumber = file.lineNumber();
    }

    if (line.empty()) return fail(HexLineResult::BadLine, lineNumber, "empty line", problem);
    if (line.front() != ':') {
        return fail(HexLineResult::BadLine, lineNumber, "line does not start with ':'", problem);
    }
    if (line == kEndRecord) return HexLineResult::EndOfFile;

    const std::uint8_t count = pairAt(line, 2);
    const std::uint8_t high = pairAt(line, 4);
    const std::uint8_t low = pairAt(line, 6);
    const std::uint8_t type = pairAt(line, 8);
    unsigned sum = count + high + low + type;

    if (type == kDataRecord) {
        images.currentAddress = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(images.currentAddress) & 0xFFFF0000u) |
            (static_cast<std::uint32_t>(high) << 8 | low));
        // Addresses are the record's 32 bits, computed wide and never wrapped: a record at the
        // very top of the address space reaches past it, not round to 0, so that data outside
        // the two windows is ignored.
        const std::int64_t start = static_cast<std::uint32_t>(images.currentAddress);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t value = pairAt(line, 10 + 2 * i);
            storeByte(images, start + static_cast<std::int64_t>(i), value);
            sum += value;
        }
        // A record without data stores nothing and so raises neither top.
        if (count > 0) raiseTops(images, start + count - 1);
        return judgeChecksum(sum, pairAt(line, 10 + 2 * std::size_t{count}), lineNumber, problem);
    }
    if (type == kExtendedLinearAddress) {
        const std::uint8_t upperHigh = pairAt(line, 10);
        const std::uint8_t upperLow = pairAt(line, 12);
        const std::uint32_t upper = static_cast<std::uint32_t>(upperHigh) << 8 | upperLow;
        images.currentAddress =
            static_cast<std::int32_t>(upper << 16 | static_cast<std::uint32_t>(high) << 8 | low);
        sum += upperHigh + upperLow;
        return judgeChecksum(sum, pairAt(line, 14), lineNumber, problem);
    }
    char reason[48];
    std::snprintf(reason, sizeof reason, "unsupported record type %02X", type);
    return fail(HexLineResult::BadLine, lineNumber, reason, problem);
}

}  // namespace canprog
