// Renders the Windows window's two tabs to PNG files, for the README.
// Usage: canprog-screenshots.exe OUTPUT_DIR [LANGUAGE_CODE]     (run under Wine by
// scripts/make-windows-screenshots.sh)
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "PngFile.h"
#include "TfrmMain.h"
#include "Win32Shell.h"
#include "WindowMessagePump.h"
#include "base/win32/WideText.h"
#include "model/LanguageTables.h"
#include "model/MainForm.h"

namespace {

using namespace canprog;

// Lets the window paint: every pending message, for a while.
void settle(win32window::WindowMessagePump& pump) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < until) {
        pump.processMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The window as it is drawn, frame and caption included, as RGB rows from the top.
std::vector<std::uint8_t> capture(HWND window, int& width, int& height) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ before = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    ::GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height * 3));
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width * height); ++i) {
        rgb[i * 3 + 0] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4 + 0];
    }
    ::SelectObject(memory, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return rgb;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: canprog-screenshots OUTPUT_DIR [LANGUAGE_CODE]\n");
        return 1;
    }
    const std::string output = win32::narrow(argv[1]);
    const char language = argc > 2 ? static_cast<char>(argv[2][0]) : '1';
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);

    win32window::Win32Shell shell;
    MainForm form(shell);
    win32window::WindowMessagePump pump(form);
    win32window::TfrmMain window(form, ::GetModuleHandleW(nullptr));
    startUp(form);
    if (language < '0' || language > '6') {
        std::fprintf(stderr, "the language code is 0 to 6\n");
        return 1;
    }
    form.languageCode = language;
    form.zmiana_jezyka(language);
    window.centreOnScreen();
    ::ShowWindow(window.handle(), SW_SHOWNORMAL);

    // English keeps the plain names; another language gets its own ("-de").
    const LanguageRow* row = languageOfCode(language);
    const std::string suffix =
        language == '1' || !row ? std::string() : std::string("-").append(row->name);
    const char* names[] = {"windows-programming-tab", "windows-parameters-tab"};
    for (int page = 0; page < 2; ++page) {
        window.showPage(page);
        ::RedrawWindow(window.handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        settle(pump);
        int width = 0, height = 0;
        const auto pixels = capture(window.handle(), width, height);
        const std::string path = output + "/" + names[page] + suffix + ".png";
        if (!win32window::writePng(path, width, height, pixels)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 2;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
