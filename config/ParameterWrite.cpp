#include "ParameterWrite.h"

#include <stdexcept>

#include "ParameterBlock.h"
#include "app/model/MessageIndex.h"
#include "firmware/HexText.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 30;
constexpr int kReplyTicks = 30;
constexpr int kBlocks = 16;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);

const WakeUpParameters kWriteWakeUp{std::chrono::milliseconds(150),
                                    std::chrono::milliseconds(250),
                                    {Ctl::ProgressBar, Ctl::ProgressBar1},
                                    true,
                                    false};

void barsTo(MainForm& form, int minimum, int position) {
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressMinimum(bar, minimum);
        form.setProgressPosition(bar, position);
    }
}

}  // namespace

std::array<std::uint8_t, 4> pinDigits(const std::string& pinText) {
    std::array<std::uint8_t, 4> digits{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char c = i < pinText.size() ? pinText[i] : ' ';
        if (c < '0' || c > '9') {
            throw std::invalid_argument("'" + std::string(1, c) + "' is not a valid integer value");
        }
        digits[i] = static_cast<std::uint8_t>(c - '0');
    }
    return digits;
}

void patchParameterImage(MainForm& form, const std::array<std::uint8_t, 4>& pin) {
    auto& image = form.images.eepromImage;
    image[kOptionsAddress] = 0;
    image[kModeAddress] = 0;  // bits 0, 5 and 6 are written as 0
    for (const OptionBit& bit : kOptionBits) {
        if (form.checked(bit.whenSet)) image[bit.address] |= bit.mask;
    }
    for (std::size_t i = 0; i < pin.size(); ++i) image[kPinAddresses[i]] = pin[i];
    image[kCanProgramAddress] = hexPairToByte(form.text(Ctl::MaskEdit1));
}

OperationOutcome BitBtn1Click(BootloaderLink& link) {
    MainForm& form = link.form();
    // Before anything else: a PIN that is not four digits stops the write untouched.
    const std::array<std::uint8_t, 4> pin = pinDigits(form.text(Ctl::PIN));
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;

    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(false)) {
        form.setText(Ctl::Edit3, form.message(msg::ErrorOpeningPort));
        form.logMessage(msg::ErrorOpeningPort);
        return OperationOutcome::PortError;
    }
    link.loadCountdown(kStartTicks, true);
    link.port().DiscardInput();
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressRange(bar, 0, kStartTicks);
        form.setProgressPosition(bar, kStartTicks);
    }
    patchParameterImage(form, pin);
    link.port().DiscardInput();
    link.port().DiscardOutput();
    const WaitResult wake = link.wakeBootloader(kWriteWakeUp);
    if (wake != WaitResult::Success) {
        return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                             : OperationOutcome::NoBootloader;
    }

    link.port().DiscardInput();
    form.images.eepromTop = 255;
    form.logMessageAndShow(msg::EepromWriting);
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressRange(bar, 0, kBlocks - 1);
        form.setProgressPosition(bar, 0);
    }
    for (int block = 0; block < kBlocks; ++block) {
        link.pump().sleep(kBeforeEachBlock);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        FrameData data{};
        std::copy_n(form.images.eepromImage.begin() + block * kBlockSize, kBlockSize, data.begin());
        link.SendPacket(WRITE_EEPROM, static_cast<std::uint16_t>(block * kBlockSize), data,
                        kBlockSize);
        link.loadCountdown(kReplyTicks, true);
        const Acknowledge ack = link.waitAcknowledge();
        if (ack.wait != WaitResult::Success) {
            const bool timedOut = ack.wait == WaitResult::TimedOut;
            form.setText(Ctl::Edit3, form.message(timedOut ? msg::TransmissionError : msg::Cancel));
            link.port().SetOpen(false);
            barsTo(form, 0, 0);
            return timedOut ? OperationOutcome::TransmissionError : OperationOutcome::Cancelled;
        }
        if (ack.status != 0) {
            form.logMessageAndShow(msg::EepromWritingError);
            link.port().SetOpen(false);
            for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
                form.setProgressPosition(bar, form.control(bar).minimum);
            }
            return OperationOutcome::Rejected;
        }
        for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) form.setProgressPosition(bar, block);
        link.pump().processMessages();
    }

    link.restartModule("Reset CPU...");
    try {
        form.setEnabled(Ctl::BitBtn1, false);
        form.logMessageAndShow(msg::Finished);
        link.port().SetOpen(false);
        barsTo(form, 0, 0);
    } catch (...) {}
    return OperationOutcome::Finished;
}

}  // namespace canprog
