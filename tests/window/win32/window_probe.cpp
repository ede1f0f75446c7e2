// Finds canprog.exe's main window, prints its title and client size, and closes it as the
// user would. Exit code 1 when no window came within ten seconds.
// Usage: window_probe.exe      (tests/window/win32/wine_window_e2e.sh)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "base/win32/WideText.h"

int main() {
    HWND window = nullptr;
    for (int wait = 0; wait < 200 && !window; ++wait) {
        window = ::FindWindowW(L"canprog.frmMain", nullptr);
        if (!window || !::IsWindowVisible(window)) {
            window = nullptr;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    if (!window) {
        std::printf("no window\n");
        return 1;
    }
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    RECT client;
    ::GetClientRect(window, &client);
    std::printf("title: %s\nclient: %ldx%ld\n", canprog::win32::narrow(title).c_str(), client.right,
                client.bottom);
    std::fflush(stdout);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}
