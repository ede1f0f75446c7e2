#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "serial/SlSelCom.h"

namespace canprog::win32window {

// "Select Port": shown when the port component is opened without a port number. Lists the
// ports that exist now; OK gives the chosen number, Cancel nothing. The dialog is a resource
// of the program (canprog.rc).
class TComSelectForm {
  public:
    // Shows the dialog modally over `owner` with these ports and returns the choice.
    static std::optional<int> choose(HWND owner, const std::vector<serial::PresentPort>& ports);
    // Probes the ports first.
    static std::optional<int> choose(HWND owner) { return choose(owner, serial::presentPorts()); }

  private:
    explicit TComSelectForm(const std::vector<serial::PresentPort>& ports) : ports_(ports) {}
    template <typename Handler>
    friend INT_PTR CALLBACK dialogProcOf(HWND, UINT, WPARAM, LPARAM);
    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam);

    const std::vector<serial::PresentPort>& ports_;
    std::optional<int> chosen_;
};

}  // namespace canprog::win32window
