#pragma once

#include <windows.h>
// After windows.h:
#include <objbase.h>

namespace canprog::win32window {

// COM on this thread while it lives: the shell's services (the browser, the file dialog) and a
// screen reader's questions to the window's accessible objects are answered through it.
class ComApartment {
  public:
    ComApartment()
        : initialised_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

}  // namespace canprog::win32window
