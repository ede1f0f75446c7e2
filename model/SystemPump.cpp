#include "SystemPump.h"

#include <thread>

namespace canprog {

void SystemPump::watch(serial::WaitHandle handle, std::function<void()> onReady) {
    watched_.push_back({handle, std::move(onReady)});
}

void SystemPump::processMessages(Wait wait, serial::WaitHandle arrival) {
    ++pumps_;
    if (wait == Wait::UntilActivity) {
        waitOnce(form_.untilNextTick(kLongestSleep), arrival);
    } else if (!watched_.empty()) {
        waitOnce(std::chrono::milliseconds(0), serial::WaitHandle());
    }
    form_.deliverDueTick();
    if (hook_) hook_();
}

void SystemPump::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace canprog
