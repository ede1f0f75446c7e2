#pragma once

#include <chrono>
#include <optional>

namespace canprog {

using SteadyClock = std::chrono::steady_clock;

inline constexpr std::chrono::milliseconds kTickInterval{30};

// The schedule of the 30 ms window timer that counts `timeoutTicks` down. Like a window timer,
// it falls due on a fixed period from the moment it was enabled, and ticks that fall due while
// nobody pumps merge into one: a pump takes at most one tick.
class TimeoutTicker {
  public:
    // Enables the ticker; an enabled ticker keeps its phase.
    void enable(SteadyClock::time_point now);
    void disable() { nextDue_.reset(); }
    bool enabled() const { return nextDue_.has_value(); }

    // When the next tick falls due; nothing while disabled.
    std::optional<SteadyClock::time_point> nextDue() const { return nextDue_; }

    // Takes the tick due at `now`, if any; every tick due by `now` merges into it.
    bool takeDueTick(SteadyClock::time_point now);

  private:
    std::optional<SteadyClock::time_point> nextDue_;
};

}  // namespace canprog
