#include "ModuleReads.h"

#include <algorithm>
#include <cstdio>

#include "bootloader/Replies.h"

namespace canprog {

namespace {
constexpr int kReplyTicks = 30;
constexpr int kDeviceIdTicks = 50;
constexpr int kBlocks = 16;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);

std::string hexByte(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}
}  // namespace

namespace {

BlockRead readBlocks(WindowLink& link, ParameterImage& block, bool showInMemo, int first,
                     int last) {
    MainForm& form = link.form();
    FrameData reply{};
    for (int n = first; n <= last; ++n) {
        link.pump().sleep(kBeforeEachBlock);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        std::fill(reply.begin(), reply.begin() + kBlockSize, 0xFF);
        FrameData filler;
        filler.fill(0xFF);
        link.SendPacket(READ_EEPROM, static_cast<std::uint16_t>(n * kBlockSize), filler,
                        kBlockSize);
        link.loadCountdown(kReplyTicks);
        const WaitResult wait = link.readReply(kReadEepromReplySize, reply, ReplyCountdown::Shown);
        std::copy(reply.begin() + 1, reply.begin() + 17, block.begin() + n * kBlockSize);
        if (showInMemo) form.addLine(Ctl::Memo1, blockLine(n, reply));
        if (wait == WaitResult::TimedOut) return BlockRead::TimedOut;
        if (wait == WaitResult::Cancelled) return BlockRead::Cancelled;
        // A reply that fails its check byte was damaged on the way: nothing of it is taken.
        if (!replyCheckHolds(reply)) return BlockRead::Damaged;
    }
    return BlockRead::Complete;
}

}  // namespace

BlockRead readParameterBlock(WindowLink& link, ParameterImage& block, bool showInMemo) {
    return readBlocks(link, block, showInMemo, 0, kBlocks - 1);
}

BlockRead readVersionBlock(WindowLink& link, ParameterImage& block) {
    return readBlocks(link, block, false, kBlocks - 1, kBlocks - 1);
}

WaitResult readDeviceId(WindowLink& link, std::uint16_t& id) {
    link.port().DiscardInput();
    link.SendPacket(READ_DEVICE_ID, 0, FrameData{}, 0);
    link.loadCountdown(kDeviceIdTicks);
    FrameData reply{};
    const WaitResult wait = link.readReply(kDeviceIdReplySize, reply);
    if (wait == WaitResult::Success) id = static_cast<std::uint16_t>(reply[2] << 8 | reply[1]);
    return wait;
}

VerifyOutcome verifyEeprom(WindowLink& link, const ParameterImage& written) {
    MainForm& form = link.form();
    form.logNote(Extra::VerifyingEeprom);
    VerifyOutcome outcome;
    ParameterImage& readBack = outcome.readBack;
    readBack.fill(0xFF);
    outcome.read = readParameterBlock(link, readBack, false);
    if (outcome.read != BlockRead::Complete) return outcome;
    const auto differs = std::mismatch(written.begin(), written.end(), readBack.begin());
    if (differs.first == written.end()) {
        form.logNote(Extra::EepromVerified);
        return outcome;
    }
    const int address = static_cast<int>(differs.first - written.begin());
    outcome.firstDifference = address;
    form.logNote(Extra::VerifyFailed, {{"address", hexByte(address)},
                                       {"written", hexByte(*differs.first)},
                                       {"read", hexByte(*differs.second)}});
    return outcome;
}

}  // namespace canprog
