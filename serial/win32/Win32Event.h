#pragma once

#include <windows.h>

#include <system_error>

namespace canprog::serial {

// Owns a Win32 event object: manual-reset or auto-reset, created unsignalled.
class Win32Event {
  public:
    enum class Reset { Manual, Automatic };
    explicit Win32Event(Reset reset)
        : handle_(::CreateEventA(nullptr, reset == Reset::Manual, FALSE, nullptr)) {
        if (!handle_)
            throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                    "CreateEvent");
    }
    ~Win32Event() { ::CloseHandle(handle_); }
    Win32Event(const Win32Event&) = delete;
    Win32Event& operator=(const Win32Event&) = delete;

    HANDLE get() const { return handle_; }
    void set() const { ::SetEvent(handle_); }
    void reset() const { ::ResetEvent(handle_); }

  private:
    HANDLE handle_;
};

}  // namespace canprog::serial
