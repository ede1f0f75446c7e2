#pragma once

#include <chrono>
#include <optional>
#include <vector>

namespace canprog {

// Watches how long each status byte of a write takes beyond its time on the wire: a USB
// adapter that holds received bytes for its latency timer (16 ms on some) makes every one of
// the 2032 waits longer. Judges once, after the first 64 frames, by their median.
class ReplyDelayWatch {
  public:
    static constexpr std::size_t kFramesBeforeJudging = 64;
    static constexpr std::chrono::microseconds kSlow{5000};
    // One byte at 9600 baud, 8N1: ten bits.
    static constexpr std::chrono::microseconds kByteTime{1042};

    // One frame's wait, from handing the frame over to its status byte's arrival, and the bytes
    // that frame and its reply take on the wire. The median of what the first 64 frames took
    // beyond the wire, when that is slow; nothing otherwise, and nothing after it was said once.
    std::optional<std::chrono::microseconds> add(std::chrono::nanoseconds waited, int wireBytes);

  private:
    std::vector<std::chrono::microseconds> beyondWire_;
    bool judged_ = false;
};

}  // namespace canprog
