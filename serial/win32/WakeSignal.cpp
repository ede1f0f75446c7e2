#include "serial/WakeSignal.h"

#include <windows.h>

#include <system_error>

namespace canprog::serial {

// A manual-reset event: signalled from the first signal until it is cleared.
WakeSignal::WakeSignal()
    : native_(reinterpret_cast<std::intptr_t>(::CreateEventA(nullptr, TRUE, FALSE, nullptr))) {
    if (native_ == 0) {
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                "CreateEvent");
    }
}

WakeSignal::~WakeSignal() {
    ::CloseHandle(reinterpret_cast<HANDLE>(native_));
}

void WakeSignal::signal() const {
    ::SetEvent(reinterpret_cast<HANDLE>(native_));
}

void WakeSignal::clear() const {
    ::ResetEvent(reinterpret_cast<HANDLE>(native_));
}

bool WakeSignal::wait(std::chrono::milliseconds timeout) const {
    return ::WaitForSingleObject(reinterpret_cast<HANDLE>(native_),
                                 static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

}  // namespace canprog::serial
