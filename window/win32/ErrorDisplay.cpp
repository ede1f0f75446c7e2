#include "ErrorDisplay.h"

#include "base/win32/WideText.h"

namespace canprog::win32window {

void reportError(HWND from, const std::string& message) noexcept {
    HWND main = from ? ::GetAncestor(from, GA_ROOTOWNER) : nullptr;
    if (main && ::SendMessageW(main, kShowErrorMessage, 0, reinterpret_cast<LPARAM>(&message)))
        return;
    try {
        ::MessageBoxW(main, win32::widen(message).c_str(), L"canprog", MB_OK | MB_ICONERROR);
    } catch (...) {
        ::MessageBoxW(main, L"Out of memory", L"canprog", MB_OK | MB_ICONERROR);
    }
}

}  // namespace canprog::win32window
