#include "Countdown.h"

#include <algorithm>

namespace canprog {

WaitResult Countdown::state() const {
    if (ticks_ > 0) return WaitResult::Success;
    return ticks_ == kTimedOut ? WaitResult::TimedOut : WaitResult::Cancelled;
}

void Countdown::start(int ticks) {
    ticks_ = ticks;
    enableTicker();
}

void Countdown::startWait(int ticks) {
    if (cancelKept_) {
        endCancelled();
        return;
    }
    // Always enabled: a ticker that ran out in the pump that took the last reply must run
    // again, or this wait would only ever end by Cancel.
    start(ticks);
}

void Countdown::cancel(bool operationRunning) {
    ticker_.disable();
    ticks_ = kCancelled;
    if (operationRunning) cancelKept_ = true;
}

bool Countdown::cancelledBeforeWriting() {
    if (!cancelKept_ && ticks_ != kCancelled) return false;
    endCancelled();
    return true;
}

void Countdown::endCancelled() {
    cancelKept_ = false;
    ticker_.disable();
    ticks_ = kCancelled;
}

void Countdown::tick() {
    --ticks_;
    if (ticks_ < 1) ticker_.disable();
}

std::chrono::milliseconds Countdown::untilNextTick(std::chrono::milliseconds longest) const {
    const auto due = ticker_.nextDue();
    if (!due) return longest;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - clock_());
    return std::clamp(left, std::chrono::milliseconds(0), longest);
}

}  // namespace canprog
