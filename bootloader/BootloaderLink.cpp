#include "BootloaderLink.h"

#include <filesystem>
#include <new>
#include <random>
#include <span>

#include "serial/SlExcept.h"
#include "serial/SlStrMap.h"

namespace canprog {

namespace {
constexpr int kBaud = 9600;

// A fresh link key from 1 to 254, the generator seeded from the clock at every key change.
std::uint8_t drawNewKey() {
    std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> key(1, 254);
    return static_cast<std::uint8_t>(key(generator));
}
}  // namespace

BootloaderLink::BootloaderLink(LinkReport& report, MessagePump& pump, Countdown& countdown,
                               std::uint8_t& linkKey, serial::TSlioComPort& port)
    : report_(report), pump_(pump), countdown_(countdown), linkKey_(linkKey), port_(port) {}

std::string BootloaderLink::deviceName() const {
    std::string device = port_.ResolvedDevice();
    if (!port_.DevicePath().empty()) return device;
    const std::string com = "COM" + std::to_string(port_.ComNumber());
    // "COM5 (/dev/ttyUSB0)", a port-map link shown as the device it points at; a device that
    // is only the port's own name (Windows' \\.\COM5) is not repeated.
    if (device.empty() || device == "\\\\.\\" + com) return com;
    std::error_code error;
    if (std::filesystem::is_symlink(device, error)) {
        const auto target = std::filesystem::canonical(device, error);
        if (!error) device = target.string();
    }
    return com + " (" + device + ")";
}

void BootloaderLink::recordLostDevice() {
    lostDeviceReason_ = serial::messageForCode(port_.DeviceFailure());
}

bool BootloaderLink::openModulePort(int comNumber, bool showOpeningText) {
    openFailure_ = {};
    lostDeviceReason_.clear();
    try {
        // A port left open by an earlier operation whose device has since vanished is
        // closed first, so that this operation opens the device afresh.
        if (port_.Open() && port_.Dispatcher() && port_.Dispatcher()->FailureCode() < 0) {
            port_.SetOpen(false);
        }
        port_.SetComNumber(comNumber);
        port_.SetBaud(kBaud);
        port_.SetOpen(true);
        port_.SetRTS(true);
        pump_.sleep(kResetPulse);
        port_.SetRTS(false);
        pump_.sleep(kAfterReset);
    } catch (const serial::ESlioException& error) {
        openFailure_ = {deviceName(), error.ErrorCode(), error.what()};
        return false;
    } catch (const serial::EInOutError& error) {
        openFailure_ = {deviceName(), -error.ErrorCode(), error.what()};
        return false;
    } catch (const std::bad_alloc&) {
        openFailure_ = {deviceName(), serial::toCode(serial::SlioError::InsufficientMemory),
                        serial::messageForCode(toCode(serial::SlioError::InsufficientMemory))};
        return false;
    } catch (const std::exception& error) {
        openFailure_ = {deviceName(), 0, error.what()};
        return false;
    } catch (...) {
        openFailure_ = {deviceName(), 0, "unknown error"};
        return false;
    }
    openedDevice_ = deviceName();
    if (showOpeningText) {
        report_.status("Opening port Com" + std::to_string(port_.ComNumber()));
    }
    return true;
}

WaitResult BootloaderLink::wakeBootloader(const WakeUpPauses& pauses) {
    linkKey_ = initialLinkKey;
    bool linked = false;
    report_.wakeUp(WakeUpStep::Searching);
    do {
        port_.WriteByte(WAKE);
        pump_.sleep(pauses.afterWake);
        port_.WriteByte(linkKey_ ^ PROBE);
        pump_.sleep(pauses.afterProbe);
        if (port_.ByteAvailable()) {
            const std::uint8_t r = port_.ReadByte();
            if ((r ^ linkKey_) == ANSWER) {
                linked = true;
                if (report_.newKeyWanted()) {
                    const std::uint8_t newKey = drawNewKey();
                    port_.WriteByte(linkKey_ ^ NEW_KEY);
                    port_.WriteByte(newKey ^ linkKey_);
                    linkKey_ = newKey;
                } else {
                    port_.WriteByte(linkKey_ ^ KEEP_KEY);
                }
            }
        }
        report_.wakeUpProgress(countdown_.timeoutTicks());
        pump_.processMessages();
    } while (countdown_.running() && !linked);

    report_.wakeUpProgressEnded();
    if (linked) {
        report_.wakeUp(WakeUpStep::Linked);
        return WaitResult::Success;
    }
    const bool cancelled = countdown_.state() == WaitResult::Cancelled;
    report_.wakeUp(cancelled ? WakeUpStep::Cancelled : WakeUpStep::NoBootloader);
    port_.SetOpen(false);
    return cancelled ? WaitResult::Cancelled : WaitResult::TimedOut;
}

void BootloaderLink::SendPacket(std::uint8_t command, std::uint16_t address, FrameData data,
                                std::uint8_t length) {
    // The frame goes into the transmit ring in one step: the transmit thread then writes it
    // with one device write instead of a write for every byte it happens to find.
    const std::uint8_t key = linkKey_;
    std::array<std::uint8_t, kFrameHeaderSize + 256> frame{};
    std::size_t size = 0;
    for (const std::uint8_t header :
         {command, std::uint8_t{0}, static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address & 0xFF), length}) {
        frame[size++] = header ^ key;
    }
    if (length > 0) {
        for (std::size_t i = 0; i < length; ++i) frame[size++] = data[i] ^ key;
        frame[size++] = twosComplementChecksum(std::span(data.data(), length)) ^ key;
    }
    port_.WriteBytes(std::span(frame.data(), size));
}

void BootloaderLink::loadCountdown(int ticks) {
    countdown_.startWait(ticks);
}

bool BootloaderLink::cancelledBeforeWriting() {
    return countdown_.cancelledBeforeWriting();
}

void BootloaderLink::pumpWhileWaiting() {
    if (port_.ByteAvailable()) {
        pump_.processMessages(MessagePump::Wait::None);
    } else {
        pump_.processMessages(MessagePump::Wait::UntilActivity, port_.Arrival());
    }
}

Acknowledge BootloaderLink::waitAcknowledge() {
    for (;;) {
        if (!countdown_.running()) return {countdown_.state(), 0};
        report_.status(std::to_string(countdown_.timeoutTicks()));
        pumpWhileWaiting();
        if (port_.ByteAvailable()) break;
    }
    const auto arrivedAt = port_.LastReceived();
    const std::uint8_t r = port_.ReadByte();
    return {WaitResult::Success, static_cast<std::uint8_t>(r ^ linkKey_), arrivedAt};
}

Acknowledge BootloaderLink::lateAcknowledge() {
    // A block's status comes within its write time and the line's few bytes: a good margin.
    constexpr auto kLateStatus = std::chrono::milliseconds(200);
    const auto deadline = std::chrono::steady_clock::now() + kLateStatus;
    while (!port_.ByteAvailable() && std::chrono::steady_clock::now() < deadline) {
        pump_.sleep(std::chrono::milliseconds(2));
    }
    if (!port_.ByteAvailable()) return {WaitResult::Cancelled, 0};
    const auto arrivedAt = port_.LastReceived();
    const std::uint8_t r = port_.ReadByte();
    return {WaitResult::Success, static_cast<std::uint8_t>(r ^ linkKey_), arrivedAt};
}

WaitResult BootloaderLink::readReply(int count, FrameData& buffer, ReplyCountdown shown) {
    for (int i = 0; i < count; ++i) {
        while (!port_.ByteAvailable() && countdown_.running()) pumpWhileWaiting();
        if (shown == ReplyCountdown::Shown)
            report_.status(std::to_string(countdown_.timeoutTicks()));
        if (!countdown_.running()) break;  // the positions left are passed over
        buffer[static_cast<std::size_t>(i)] = port_.ReadByte() ^ linkKey_;
    }
    return countdown_.state();
}

void BootloaderLink::restartModule(const std::string& statusText) {
    report_.status(statusText);
    SendPacket(RESTART, 0, FrameData{}, 0);
}

}  // namespace canprog
