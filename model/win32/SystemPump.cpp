#include "model/SystemPump.h"

#include <windows.h>

namespace canprog {

namespace {
HANDLE nativeOf(serial::WaitHandle handle) {
    return reinterpret_cast<HANDLE>(handle.native());
}
}  // namespace

void SystemPump::waitOnce(std::chrono::milliseconds timeout, serial::WaitHandle arrival) {
    const auto timeout_ms = static_cast<DWORD>(timeout.count());
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
        if (at == 0) {
            ::ResetEvent(nativeOf(arrival));
            return;
        }
        --at;
    }
    watched_[at].onReady();
}

}  // namespace canprog
