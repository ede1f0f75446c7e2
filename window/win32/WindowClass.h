#pragma once

#include <windows.h>

namespace canprog::win32window {

// Registers one of our window classes: the arrow cursor, the dialog face as background, and
// the icons when given. Registering a class again fails harmlessly.
inline void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                HICON icon = nullptr, HICON smallIcon = nullptr) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = name;
    type.hIcon = icon;
    type.hIconSm = smallIcon;
    ::RegisterClassExW(&type);
}

}  // namespace canprog::win32window
