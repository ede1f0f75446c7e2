#include "BootloaderEngine.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

namespace canprog::sim {

namespace {

constexpr std::uint8_t kChecksumErrorStatus = 2;

const char* commandName(std::uint8_t command) {
    switch (command) {
        case WRITE_FLASH: return "WRITE_FLASH";
        case WRITE_EEPROM: return "WRITE_EEPROM";
        case READ_DEVICE_ID: return "READ_DEVICE_ID";
        case READ_EEPROM: return "READ_EEPROM";
        case RESTART: return "RESTART";
        default: return "UNKNOWN";
    }
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const auto b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

}  // namespace

ModuleMemory ModuleMemory::demoModule() {
    ModuleMemory memory;
    memory.flash.fill(0xFF);
    memory.eeprom.fill(0xFF);
    memory.eeprom[0x21] = 0x01;  // sound off, every other option at its first choice
    memory.eeprom[0x61] = 0x00;  // FI mode, no hazard-light sequences
    memory.eeprom[0x26] = 1;     // PIN 1234: digits at 0x26, 0x66, 0x27, 0x67
    memory.eeprom[0x66] = 2;
    memory.eeprom[0x27] = 3;
    memory.eeprom[0x67] = 4;
    memory.eeprom[0x28] = 0x11;  // CAN program 11, packed BCD
    const char* version = "DEMO 1.00       ";
    std::memcpy(&memory.eeprom[0xF0], version, 16);
    return memory;
}

std::string FrameRecord::toJson() const {
    const nlohmann::json line = {
        {"key", key},          {"command", commandName(command)},
        {"address", address},  {"length", data.size()},
        {"data", hex(data)},   {"checksum_ok", checksumOk},
        {"reply", hex(reply)}, {"received_at_us", receivedAt_us},
    };
    return line.dump();
}

BootloaderEngine::BootloaderEngine(ModuleMemory memory, FaultOptions faults)
    : memory_(memory), faults_(std::move(faults)) {}

EngineReply BootloaderEngine::receive(std::uint8_t byte, Clock::time_point at) {
    lastAt_ = at;
    if (lastByte_ && at - *lastByte_ >= kResetSilence && state_ != State::Running) {
        state_ = State::Running;  // the tool's reset pulse
        frame_.clear();
    }
    lastByte_ = at;
    if (!firstByte_) firstByte_ = at;
    if (hangUp_) return {};

    switch (state_) {
        case State::Running:
            if (byte == WAKE) state_ = State::WakeSeen;
            return {};
        case State::WakeSeen: {
            if (byte == WAKE) return {};
            if (byte != (PROBE ^ initialLinkKey)) {
                state_ = State::Running;
                return {};
            }
            state_ = State::Running;
            if (at - *firstByte_ < faults_.switchedOnAfter) return {};  // still switched off
            if (faults_.neverAnswer || ++validProbes_ < faults_.answerAfterProbes) return {};
            validProbes_ = 0;
            key_ = initialLinkKey;
            EngineReply reply;
            if (faults_.strayByte && !straySent_) {
                reply.bytes.push_back(*faults_.strayByte);
                straySent_ = true;
            }
            reply.bytes.push_back(ANSWER ^ key_);
            state_ = State::AwaitKeyDecision;
            return reply;
        }
        case State::AwaitKeyDecision:
            if (byte == (KEEP_KEY ^ key_)) {
                state_ = State::Linked;
            } else if (byte == (NEW_KEY ^ key_)) {
                state_ = State::AwaitNewKey;
            } else if (byte == WAKE) {
                state_ = State::WakeSeen;
            }
            return {};
        case State::AwaitNewKey:
            key_ = byte ^ key_;
            state_ = State::Linked;
            return {};
        case State::Linked:
        case State::FrameBody: {
            state_ = State::FrameBody;
            frame_.push_back(byte ^ key_);
            if (frame_.size() < kFrameHeaderSize) return {};
            const std::size_t length = frame_[4];
            const std::size_t total = kFrameHeaderSize + (length > 0 ? length + 1 : 0);
            if (frame_.size() < total) return {};
            state_ = State::Linked;
            EngineReply reply = handleFrame();
            frame_.clear();
            return reply;
        }
    }
    return {};
}

std::uint8_t BootloaderEngine::writeStatus(std::uint8_t command, int block, bool checksumOk) const {
    const auto& reject =
        command == WRITE_FLASH ? faults_.rejectFlashBlock : faults_.rejectEepromBlock;
    if (reject && reject->first == block) return static_cast<std::uint8_t>(reject->second);
    return checksumOk ? 0 : kChecksumErrorStatus;
}

EngineReply BootloaderEngine::handleFrame() {
    FrameRecord record;
    record.key = key_;
    record.command = frame_[0];
    record.address = static_cast<std::uint32_t>(frame_[1]) << 16 |
                     static_cast<std::uint32_t>(frame_[2]) << 8 | frame_[3];
    const std::size_t length = frame_[4];
    record.data.assign(frame_.begin() + kFrameHeaderSize,
                       frame_.begin() + static_cast<long>(kFrameHeaderSize + length));
    if (length > 0) {
        record.checksumOk =
            twosComplementChecksum(record.data) == frame_[kFrameHeaderSize + length];
    }

    const int frameNumber = static_cast<int>(frames_.size()) + 1;
    if (faults_.hangUpAfterFrames && frameNumber >= *faults_.hangUpAfterFrames) hangUp_ = true;
    if (faults_.silentAfterFrames && frameNumber > *faults_.silentAfterFrames) {
        return finishFrame(std::move(record), {}, {});
    }

    switch (record.command) {
        case WRITE_FLASH:
        case WRITE_EEPROM: {
            const bool flash = record.command == WRITE_FLASH;
            const std::uint8_t status = writeStatus(
                record.command, static_cast<int>(record.address / kBlockSize), record.checksumOk);
            if (status == 0) {
                auto* target = flash ? memory_.flash.data() : memory_.eeprom.data();
                const std::size_t size = flash ? kFlashBytes : kEepromBytes;
                for (std::size_t i = 0; i < record.data.size(); ++i) {
                    const std::size_t at = record.address + i;
                    if (at < size) target[at] = record.data[i];
                }
                const int block = static_cast<int>(record.address / kBlockSize);
                if (!flash && faults_.storeEepromBlockWrong == block && record.address < size) {
                    target[record.address] ^= 0x01;  // the cell did not take the value
                }
                if (onMemoryChanged) onMemoryChanged();
            }
            return finishFrame(std::move(record), {status}, writeTime);
        }
        case READ_DEVICE_ID:
            return finishFrame(
                std::move(record),
                {faults_.deviceIdLeadByte, static_cast<std::uint8_t>(faults_.deviceId & 0xFF),
                 static_cast<std::uint8_t>(faults_.deviceId >> 8)},
                {});
        case READ_EEPROM: {
            std::vector<std::uint8_t> reply{0x00};
            for (std::size_t i = 0; i < kBlockSize; ++i) {
                reply.push_back(memory_.eeprom[(record.address + i) & 0xFF]);
            }
            const std::uint8_t check = twosComplementChecksum(reply);
            reply.push_back(faults_.wrongReplyCheck ? static_cast<std::uint8_t>(check ^ 0x5A)
                                                    : check);
            return finishFrame(std::move(record), std::move(reply), {});
        }
        case RESTART:
            state_ = State::Running;
            key_ = initialLinkKey;
            ++restarts_;
            return finishFrame(std::move(record), {}, {});
        default: return finishFrame(std::move(record), {}, {});
    }
}

EngineReply BootloaderEngine::finishFrame(FrameRecord record, std::vector<std::uint8_t> reply,
                                          std::chrono::milliseconds delay) {
    if (hangUp_) reply.clear();
    if (faults_.cutReplyAfterBytes &&
        reply.size() > static_cast<std::size_t>(*faults_.cutReplyAfterBytes)) {
        reply.resize(static_cast<std::size_t>(*faults_.cutReplyAfterBytes));
    }
    record.receivedAt_us =
        std::chrono::duration_cast<std::chrono::microseconds>(lastAt_ - started_).count();
    EngineReply out;
    out.delay = delay;
    for (const auto b : reply) out.bytes.push_back(b ^ record.key);
    record.reply = std::move(reply);
    frames_.push_back(record);
    if (onFrame) onFrame(frames_.back());
    return out;
}

}  // namespace canprog::sim
