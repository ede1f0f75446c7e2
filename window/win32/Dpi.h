#pragma once

#include <windows.h>

namespace canprog::win32window {

// The window's lengths are given in pixels at 96 dpi and scaled to the monitor the window is on.
inline constexpr UINT kDesignDpi = 96;

inline int scaled(int length, UINT dpi) {
    return ::MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// The dots per inch of the monitor a window is on; 96 when the system cannot tell.
inline UINT dpiOf(HWND window) {
    const UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    return dpi ? dpi : kDesignDpi;
}

}  // namespace canprog::win32window
