#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "BootloaderProtocol.h"
#include "app/model/MainForm.h"
#include "app/model/MessagePump.h"
#include "serial/SlPort.h"

namespace canprog {

// How a wait for the module ended.
enum class WaitResult { Success, TimedOut, Cancelled };

// A status byte's wait: the wait's result and, when a byte came, its unscrambled value
// (0 acknowledges the block, anything else is the module's error code).
struct Acknowledge {
    WaitResult wait = WaitResult::TimedOut;
    std::uint8_t status = 0;
    bool acknowledged() const { return wait == WaitResult::Success && status == 0; }
};

// How each operation runs the wake-up.
struct WakeUpParameters {
    std::chrono::milliseconds firstPause;   // after WAKE
    std::chrono::milliseconds secondPause;  // after PROBE
    std::vector<Ctl> barsFollowingCountdown;
    bool statusLineToo;     // message 6 and the outcome also go to Edit3
    bool linkedAsMessage3;  // "OK" as message 3 rather than the literal text
};

using FrameData = std::array<std::uint8_t, 257>;

// The one way every operation reaches the bootloader: port opening with the reset pulse, the
// wake-up with its optional key change, scrambled command frames and their replies. Runs on
// the user-interface thread; every wait pumps the window's messages.
class BootloaderLink {
  public:
    static constexpr auto kResetPulse = std::chrono::milliseconds(500);
    static constexpr auto kAfterReset = std::chrono::milliseconds(100);

    BootloaderLink(MainForm& form, MessagePump& pump, serial::TSlioComPort& port);

    // Opens the selected port at 9600 baud and pulses RTS. Every failure is caught: false.
    bool openModulePort(bool showOpeningText);
    // Repeats WAKE and PROBE until the bootloader answers or the countdown ends. When it does
    // not link, reports message 0 or 1 and closes the port.
    WaitResult wakeBootloader(const WakeUpParameters& parameters);
    void SendPacket(std::uint8_t command, std::uint16_t address, FrameData data,
                    std::uint8_t length);
    Acknowledge waitAcknowledge();
    WaitResult readReply(int count, FrameData& buffer);
    void restartModule(const std::string& statusText);

    // Loads the countdown for the next wait. A Cancel that came since the last wait ends it at
    // once instead of being lost.
    void loadCountdown(int ticks, bool startTicker);

    serial::TSlioComPort& port() { return port_; }
    MainForm& form() { return form_; }
    MessagePump& pump() { return pump_; }

  private:
    // One pump of a wait: sleeps until something happens unless a byte is already there.
    void pumpWhileWaiting();
    void reportWakeFailure(const WakeUpParameters& parameters);
    void show(std::size_t message, bool statusLineToo);

    MainForm& form_;
    MessagePump& pump_;
    serial::TSlioComPort& port_;
};

}  // namespace canprog
