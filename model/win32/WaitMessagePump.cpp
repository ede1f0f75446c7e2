#include "WaitMessagePump.h"

#include <windows.h>

#include <thread>

namespace canprog {

namespace {
HANDLE nativeOf(serial::WaitHandle handle) {
    return reinterpret_cast<HANDLE>(handle.native());
}
}  // namespace

void WaitMessagePump::watch(serial::WaitHandle handle, std::function<void()> onSignalled) {
    watched_.push_back({handle, std::move(onSignalled)});
}

void WaitMessagePump::waitOnce(unsigned long timeout_ms, serial::WaitHandle arrival) {
    std::vector<HANDLE> handles;
    if (arrival.valid()) handles.push_back(nativeOf(arrival));
    for (const auto& w : watched_) handles.push_back(nativeOf(w.handle));
    if (handles.empty()) {
        if (timeout_ms > 0) ::Sleep(timeout_ms);
        return;
    }
    const DWORD woken = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                                 FALSE, timeout_ms);
    if (woken < WAIT_OBJECT_0 || woken >= WAIT_OBJECT_0 + handles.size()) return;
    std::size_t at = woken - WAIT_OBJECT_0;
    if (arrival.valid()) {
        if (at == 0) ::ResetEvent(nativeOf(arrival));
        if (at == 0) return;
        --at;
    }
    watched_[at].onSignalled();
}

void WaitMessagePump::processMessages(Wait wait, serial::WaitHandle arrival) {
    ++pumps_;
    if (wait == Wait::UntilActivity) {
        waitOnce(static_cast<unsigned long>(form_.untilNextTick(kLongestSleep).count()), arrival);
    } else if (!watched_.empty()) {
        waitOnce(0, serial::WaitHandle());
    }
    form_.deliverDueTick();
    if (hook_) hook_();
}

void WaitMessagePump::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace canprog
