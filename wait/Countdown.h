#pragma once

#include <chrono>
#include <functional>

#include "TimeoutTicker.h"

namespace canprog {

// How a wait for the module stands or ended.
enum class WaitResult { Success, TimedOut, Cancelled };

// `timeoutTicks`, the one countdown that every wait of an operation shares, with the 30 ms
// ticker that counts it down and what the Cancel button leaves. Its value: greater than 0
// while a wait runs, 0 when the time ran out, -1 when the user cancelled. The waits ask it how
// they stand instead of comparing the value themselves.
class Countdown {
  public:
    using Clock = std::function<SteadyClock::time_point()>;
    static constexpr int kTimedOut = 0;
    static constexpr int kCancelled = -1;

    explicit Countdown(Clock clock) : clock_(std::move(clock)) {}

    // The value, as the window's state holds it.
    int timeoutTicks() const { return ticks_; }
    // While the value is above 0 the wait goes on.
    bool running() const { return ticks_ > 0; }
    // Success while the wait runs; how it ended otherwise (0 timed out, -1 or below cancelled).
    WaitResult state() const;

    // Loads the value and enables the ticker.
    void start(int ticks);
    // Loads the value for the next wait of a running operation. A Cancel that came while the
    // operation was between two waits ends this wait at once instead of being lost.
    void startWait(int ticks);
    // The Cancel button: the ticker off and the value -1. While an operation runs, the Cancel
    // is also kept for its next wait.
    void cancel(bool operationRunning);
    // Looked at before every frame that writes into the module: true when the user cancelled,
    // now or between two waits; the value then reads -1 and no further frame should leave.
    bool cancelledBeforeWriting();
    // A new operation starts without an earlier Cancel.
    void forgetKeptCancel() { cancelKept_ = false; }
    // One period of the ticker: the value one less; the ticker stops once it is below 1.
    void tick();

    void enableTicker() { ticker_.enable(clock_()); }
    void disableTicker() { ticker_.disable(); }
    bool tickerEnabled() const { return ticker_.enabled(); }
    // Takes the tick due now, if any (every tick due by now merges into it).
    bool takeDueTick() { return ticker_.takeDueTick(clock_()); }
    // How long a pump may sleep before the next tick falls due: at most `longest`, at least 0.
    std::chrono::milliseconds untilNextTick(std::chrono::milliseconds longest) const;

  private:
    void endCancelled();

    Clock clock_;
    TimeoutTicker ticker_;
    int ticks_ = 0;
    bool cancelKept_ = false;
};

}  // namespace canprog
