#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bootloader/BootloaderProtocol.h"

namespace canprog::sim {

using Clock = std::chrono::steady_clock;

inline constexpr std::size_t kFlashBytes = 0x8000;
inline constexpr std::size_t kEepromBytes = 0x100;

// The module's memories.
struct ModuleMemory {
    std::array<std::uint8_t, kFlashBytes> flash{};
    std::array<std::uint8_t, kEepromBytes> eeprom{};

    // A realistic module: erased FLASH, a parameter block (PIN 1234, sound off, CAN program 11)
    // and the version text "DEMO 1.00" padded to 16 characters at 0xF0.
    static ModuleMemory demoModule();
};

// Faults to play, each off by default.
struct FaultOptions {
    bool neverAnswer = false;
    int answerAfterProbes = 1;  // answer the Nth valid probe
    // A module without a reset line, switched on this long after the first byte reached it:
    // every probe before then goes unanswered.
    std::chrono::milliseconds switchedOnAfter{0};
    std::optional<std::uint8_t> strayByte;  // sent once during the wake-up, before the answer
    std::optional<std::pair<int, int>> rejectFlashBlock;   // block, status code
    std::optional<std::pair<int, int>> rejectEepromBlock;  // block, status code
    std::optional<int> silentAfterFrames;                  // no reply after this many frames
    std::optional<int> cutReplyAfterBytes;                 // replies stop after this many bytes
    std::optional<int> hangUpAfterFrames;      // the cable is pulled after this many frames
    bool wrongReplyCheck = false;              // every READ_EEPROM reply has a wrong check byte
    std::optional<int> storeEepromBlockWrong;  // acknowledged, but its first byte stored flipped
    std::uint16_t deviceId = 0x1234;
    std::uint8_t deviceIdLeadByte = 0x00;
};

// One command frame as the module decoded it.
struct FrameRecord {
    std::uint8_t key = 0;
    std::uint8_t command = 0;
    std::uint32_t address = 0;
    std::vector<std::uint8_t> data;
    bool checksumOk = true;
    std::vector<std::uint8_t> reply;  // unscrambled
    // When the frame's last byte was complete, in microseconds since the module started.
    std::int64_t receivedAt_us = 0;

    std::string toJson() const;
};

// What the module sends back for one received byte, and after how long.
struct EngineReply {
    std::vector<std::uint8_t> bytes;
    std::chrono::milliseconds delay{0};
};

// The bootloader's side of the wire protocol, byte for byte: the wake-up with its key change,
// command frames with their replies, and the restart into the module's program. No I/O: the
// caller feeds received bytes and sends what comes back.
class BootloaderEngine {
  public:
    // Silence this long stands for the tool's reset pulse (RTS held 500 ms, then 100 ms):
    // a pseudo-terminal cannot carry the line itself.
    static constexpr auto kResetSilence = std::chrono::milliseconds(400);

    explicit BootloaderEngine(ModuleMemory memory = ModuleMemory::demoModule(),
                              FaultOptions faults = {});

    EngineReply receive(std::uint8_t byte, Clock::time_point at = Clock::now());

    const ModuleMemory& memory() const { return memory_; }
    ModuleMemory& memory() { return memory_; }
    const std::vector<FrameRecord>& frames() const { return frames_; }
    std::uint8_t key() const { return key_; }
    bool inBootloader() const { return state_ != State::Running && state_ != State::WakeSeen; }
    bool linked() const { return state_ == State::Linked || state_ == State::FrameBody; }
    bool hangUpRequested() const { return hangUp_; }
    int restarts() const { return restarts_; }
    std::chrono::milliseconds writeTime{0};

    // Told after every frame; `memoryChanged` after a frame that changed a memory.
    std::function<void(const FrameRecord&)> onFrame;
    std::function<void()> onMemoryChanged;

  private:
    enum class State { Running, WakeSeen, AwaitKeyDecision, AwaitNewKey, Linked, FrameBody };

    EngineReply handleFrame();
    EngineReply finishFrame(FrameRecord record, std::vector<std::uint8_t> reply,
                            std::chrono::milliseconds delay);
    std::uint8_t writeStatus(std::uint8_t command, int block, bool checksumOk) const;

    ModuleMemory memory_;
    FaultOptions faults_;
    State state_ = State::Running;
    std::uint8_t key_ = initialLinkKey;
    int validProbes_ = 0;
    bool straySent_ = false;
    std::vector<std::uint8_t> frame_;
    std::vector<FrameRecord> frames_;
    std::optional<Clock::time_point> lastByte_;
    std::optional<Clock::time_point> firstByte_;
    bool hangUp_ = false;
    int restarts_ = 0;
    Clock::time_point started_ = Clock::now();
    Clock::time_point lastAt_ = started_;  // when the byte being handled was complete
};

}  // namespace canprog::sim
