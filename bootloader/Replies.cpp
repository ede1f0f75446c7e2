#include "Replies.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "firmware/Cp1250.h"

namespace canprog {

namespace {
constexpr std::size_t kCheckByte = kReadEepromReplySize - 1;
}  // namespace

std::uint8_t computedReplyCheck(const FrameData& reply) {
    return twosComplementChecksum(std::span(reply.data(), kCheckByte));
}

bool replyCheckHolds(const FrameData& reply) {
    return reply[kCheckByte] == computedReplyCheck(reply);
}

std::string versionText(const FrameData& reply) {
    return cp1250ToUtf8(std::string(reinterpret_cast<const char*>(&reply[1]), kBlockSize));
}

std::string readableVersionText(std::span<const std::uint8_t> text) {
    if (std::all_of(text.begin(), text.end(), [](std::uint8_t byte) { return byte == 0xFF; })) {
        return kErasedVersionText;
    }
    const auto end = std::find(text.begin(), text.end(), 0);
    std::string readable = cp1250ToUtf8(std::string(text.begin(), end));
    while (!readable.empty() && readable.back() == ' ') readable.pop_back();
    return readable;
}

std::string deviceIdText(std::uint16_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X:%02X", id >> 8, id & 0xFF);
    return text;
}

std::string deviceIdLine(const FrameData& reply) {
    char line[32];
    std::snprintf(line, sizeof line, "Device ID: %02X:%02X", reply[2], reply[1]);
    return line;
}

std::string blockLine(int block, const FrameData& reply) {
    std::string line = std::to_string(block);
    char hex[8];
    std::snprintf(hex, sizeof hex, " %02X ", reply[0]);
    line += hex;
    for (std::size_t i = 1; i <= kBlockSize; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", reply[i]);
        line += hex;
    }
    std::snprintf(hex, sizeof hex, " %02X-%02X", reply[kCheckByte], computedReplyCheck(reply));
    return line + hex;
}

}  // namespace canprog
