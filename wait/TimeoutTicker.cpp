#include "TimeoutTicker.h"

namespace canprog {

void TimeoutTicker::enable(SteadyClock::time_point now) {
    if (!nextDue_) nextDue_ = now + kTickInterval;
}

bool TimeoutTicker::takeDueTick(SteadyClock::time_point now) {
    if (!nextDue_ || now < *nextDue_) return false;
    const auto periodsPassed = (now - *nextDue_) / kTickInterval + 1;
    *nextDue_ += periodsPassed * kTickInterval;
    return true;
}

}  // namespace canprog
