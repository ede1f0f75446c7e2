#pragma once

#include <windows.h>

#include "ErrorDisplay.h"

namespace canprog::win32window {

// The dialog procedure of a dialog resource whose messages a `Handler` answers: the handler
// comes with WM_INITDIALOG and stays with the dialog; its onMessage(dialog, message, wParam)
// runs guarded, so that an exception is shown, not let through the system's frames.
template <typename Handler>
INT_PTR CALLBACK dialogProcOf(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* handler = reinterpret_cast<Handler*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!handler) return FALSE;
    return static_cast<INT_PTR>(guarded(
        dialog, [&] { return static_cast<LRESULT>(handler->onMessage(dialog, message, wParam)); }));
}

// Shows the dialog resource `resource` modally over `owner`, answered by `handler`; the
// button that ended it.
template <typename Handler>
INT_PTR runModalDialog(HWND owner, int resource, Handler& handler) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), owner,
                             dialogProcOf<Handler>, reinterpret_cast<LPARAM>(&handler));
}

}  // namespace canprog::win32window
