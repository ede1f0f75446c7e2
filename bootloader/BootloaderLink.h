#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "BootloaderProtocol.h"
#include "LinkReport.h"
#include "serial/SlPort.h"
#include "wait/Countdown.h"
#include "wait/MessagePump.h"

namespace canprog {

// A status byte's wait: the wait's result and, when a byte came, its unscrambled value
// (0 acknowledges the block, anything else is the module's error code).
struct Acknowledge {
    WaitResult wait = WaitResult::TimedOut;
    std::uint8_t status = 0;
    // When the status byte arrived, as the port's receive side saw it.
    std::chrono::steady_clock::time_point arrivedAt{};
    bool acknowledged() const { return wait == WaitResult::Success && status == 0; }
};

// The pauses of each operation's wake-up.
struct WakeUpPauses {
    std::chrono::milliseconds afterWake;
    std::chrono::milliseconds afterProbe;
};

// Whether a reply wait reports the countdown as its status after each byte.
enum class ReplyCountdown { Hidden, Shown };

// Why the port would not open: the device it names and the serial layer's code and message.
struct OpenFailure {
    std::string device;
    std::int32_t code = 0;
    std::string message;
};

using FrameData = std::array<std::uint8_t, 257>;

// The one way every operation reaches the bootloader: port opening with the reset pulse, the
// wake-up with its optional key change, scrambled command frames and their replies. Runs on
// the user-interface thread; every wait pumps the window's messages with a live countdown.
class BootloaderLink {
  public:
    static constexpr auto kResetPulse = std::chrono::milliseconds(500);
    static constexpr auto kAfterReset = std::chrono::milliseconds(100);

    BootloaderLink(LinkReport& report, MessagePump& pump, Countdown& countdown,
                   std::uint8_t& linkKey, serial::TSlioComPort& port);

    // Opens port `comNumber` at 9600 baud and pulses RTS. Every failure is caught: false, and
    // lastOpenFailure() says why.
    bool openModulePort(int comNumber, bool showOpeningText);
    const OpenFailure& lastOpenFailure() const { return openFailure_; }

    // Repeats WAKE and PROBE until the bootloader answers or the countdown ends. When it does
    // not link, reports why and closes the port.
    WaitResult wakeBootloader(const WakeUpPauses& pauses);
    // Writes one command frame: the five header bytes, the data and its checksum, each
    // scrambled with the link key. It does not wait for anything.
    void SendPacket(std::uint8_t command, std::uint16_t address, FrameData data,
                    std::uint8_t length);
    Acknowledge waitAcknowledge();
    // After a Cancel ended the wait for a block's status byte: waits a moment longer, with no
    // countdown, for the status the module may still send for the block already sent.
    Acknowledge lateAcknowledge();
    // Reads `count` reply bytes, unscrambled, into `buffer`. A reply that stops ends the read
    // when the countdown runs out; the remaining positions are left as they were.
    WaitResult readReply(int count, FrameData& buffer,
                         ReplyCountdown shown = ReplyCountdown::Hidden);
    void restartModule(const std::string& statusText);

    // Loads the countdown for the next wait and makes sure the ticker runs. A Cancel that came
    // since the last wait ends it at once instead of being lost.
    void loadCountdown(int ticks);
    // Looked at before every frame that writes into the module: true when the user cancelled
    // (the countdown then reads -1), so that no further write frame leaves.
    bool cancelledBeforeWriting();

    // The device's worker threads ended on a failure: the adapter was pulled or the device
    // vanished. Every further data operation on the port raises.
    bool deviceLost() const { return port_.DeviceFailure() < 0; }
    // The device the port names, for messages.
    std::string deviceName() const;
    // The device the port had open when the operation opened it: the one a lost connection
    // names, whatever the port map says once it is gone.
    const std::string& openedDevice() const { return openedDevice_; }
    // Keeps why the device was lost (the serial layer's message for its failure code), for
    // front ends that show it once the port is closed.
    void recordLostDevice();
    const std::string& lostDeviceReason() const { return lostDeviceReason_; }

    serial::TSlioComPort& port() { return port_; }
    Countdown& countdown() { return countdown_; }
    MessagePump& pump() { return pump_; }
    std::uint8_t linkKey() const { return linkKey_; }

  private:
    // One pump of a wait: sleeps until something happens unless a byte is already there.
    void pumpWhileWaiting();

    LinkReport& report_;
    MessagePump& pump_;
    Countdown& countdown_;
    std::uint8_t& linkKey_;
    serial::TSlioComPort& port_;
    OpenFailure openFailure_;
    std::string openedDevice_;
    std::string lostDeviceReason_;
};

}  // namespace canprog
