#include "ParameterRead.h"

#include <cstdio>

#include "OptionControls.h"
#include "ParameterBlock.h"
#include "app/model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 25;
constexpr int kReplyTicks = 30;
constexpr int kBlocks = 16;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);
// The PIN edit has four positions; a longer rendering shows its first four characters.
constexpr std::size_t kPinPositions = 4;

const WakeUpParameters kReadWakeUp{std::chrono::milliseconds(50),
                                   std::chrono::milliseconds(50),
                                   {Ctl::ProgressBar, Ctl::ProgressBar1},
                                   true,
                                   true};

// One line of the diagnostic memo: block, lead byte, data, received and computed check.
std::string blockLine(int block, const FrameData& reply, std::uint8_t computed) {
    std::string line = std::to_string(block);
    char hex[8];
    std::snprintf(hex, sizeof hex, " %02X ", reply[0]);
    line += hex;
    for (int i = 1; i <= kBlockSize; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", reply[static_cast<std::size_t>(i)]);
        line += hex;
    }
    std::snprintf(hex, sizeof hex, " %02X-", reply[17]);
    line += hex;
    std::snprintf(hex, sizeof hex, "%02X", computed);
    return line + hex;
}

}  // namespace

void applyParameterImage(MainForm& form) {
    const auto& image = form.images.eepromImage;
    for (const OptionBit& bit : kOptionBits) {
        const bool set = (image[bit.address] & bit.mask) != 0;
        if (bit.whenClear) {
            form.setChecked(set ? bit.whenSet : *bit.whenClear, true);
        } else {
            form.setChecked(bit.whenSet, set);
        }
    }
    std::string pin;
    for (const std::uint8_t address : kPinAddresses) pin += std::to_string(image[address]);
    form.setText(Ctl::PIN, pin.substr(0, kPinPositions));

    const std::uint8_t program = image[kCanProgramAddress];
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", program);
    form.setText(Ctl::MaskEdit1, hex);
    form.setText(Ctl::MaskEdit2, hex);
    form.canProgramNumber = static_cast<unsigned char>((program >> 4) * 10 + (program & 0x0F));
}

OperationOutcome BitBtn2Click(BootloaderLink& link) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;

    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(true)) {
        form.logMessageAndShow(msg::ErrorOpeningPort);
        return OperationOutcome::PortError;
    }
    // The block is read into a scratch image; the parameter image takes it over only when all
    // sixteen blocks have come, so that a later write never sends a half-read block.
    std::array<std::uint8_t, 256> scratch;
    scratch.fill(0xFF);
    link.loadCountdown(kStartTicks, true);
    link.port().DiscardInput();
    for (Ctl bar : {Ctl::ProgressBar, Ctl::ProgressBar1}) {
        form.setProgressRange(bar, 0, kStartTicks);
        form.setProgressPosition(bar, kStartTicks);
    }
    link.port().DiscardInput();
    link.port().DiscardOutput();
    const WaitResult wake = link.wakeBootloader(kReadWakeUp);
    if (wake != WaitResult::Success) {
        return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                             : OperationOutcome::NoBootloader;
    }
    form.logMessageAndShow(msg::ReadingEeprom);

    FrameData reply{};
    for (int block = 0; block < kBlocks; ++block) {
        link.pump().sleep(kBeforeEachBlock);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        std::fill(reply.begin(), reply.begin() + kBlockSize, 0xFF);
        FrameData filler;
        filler.fill(0xFF);
        link.SendPacket(READ_EEPROM, static_cast<std::uint16_t>(block * kBlockSize), filler,
                        kBlockSize);
        link.loadCountdown(kReplyTicks, false);
        for (std::size_t i = 0; i < kReadEepromReplySize; ++i) {
            while (!link.port().ByteAvailable() && form.timeoutTicks > 0) {
                link.pump().processMessages(MessagePump::Wait::UntilActivity,
                                            link.port().ArrivalFd());
            }
            form.setText(Ctl::Edit1, std::to_string(form.timeoutTicks));
            if (form.timeoutTicks <= 0) break;
            reply[i] = link.port().ReadByte() ^ form.linkKey;
        }
        unsigned sum = 0;
        for (std::size_t i = 0; i < 17; ++i) sum += reply[i];
        const auto computed = static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
        std::copy(reply.begin() + 1, reply.begin() + 17, scratch.begin() + block * kBlockSize);
        form.addLine(Ctl::Memo1, blockLine(block, reply, computed));
        if (form.timeoutTicks <= 0) break;
    }
    form.addLine(Ctl::Memo1, "");

    if (form.timeoutTicks == 0) {
        form.logMessageAndShow(msg::TransmissionError);
        return OperationOutcome::TransmissionError;
    }
    if (form.timeoutTicks < 0) {
        form.logMessageAndShow(msg::Cancel);
        return OperationOutcome::Cancelled;
    }
    form.images.eepromImage = scratch;
    applyParameterImage(form);
    form.setEnabled(Ctl::BitBtn1, true);
    form.setEnabled(Ctl::BitBtn3, true);
    form.logMessageAndShow(msg::Finished);
    link.restartModule("OK. Restart CPU...");
    return OperationOutcome::Finished;
}

}  // namespace canprog
