#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace canprog::win32window {

// Asks the main window to show an error: an exception that reaches a window procedure is shown
// in a message box and the program goes on, as the default error display does.
inline constexpr UINT kShowErrorMessage = WM_APP + 1;  // LPARAM: const std::string*

void reportError(HWND from, const std::string& message) noexcept;

// Runs a window procedure's handler; nothing it throws leaves the procedure.
template <typename Handler>
LRESULT guarded(HWND window, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (const std::exception& error) {
        reportError(window, error.what());
    } catch (...) {
        reportError(window, "Unknown error");
    }
    return 0;
}

}  // namespace canprog::win32window
