#pragma once

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <string>

#include "base/win32/WideText.h"
#include "support/FormFixture.h"
#include "window/win32/TfrmMain.h"
#include "window/win32/WindowMessagePump.h"

namespace canprog::testing {

// The real Windows main window over a model, started as the program starts it and shown. The
// model runs on a clock the test moves, or on the real one for work with a module.
struct Win32WindowFixture {
    enum class Clock { Manual, Real };
    explicit Win32WindowFixture(Clock kind = Clock::Manual)
        : form(shell, kind == Clock::Real ? MainForm::ClockFunction(SteadyClock::now)
                                          : MainForm::ClockFunction([this] { return clock.now; })),
          window(form, ::GetModuleHandleW(nullptr)) {
        startUp(form);
        ::ShowWindow(window.handle(), SW_SHOWNORMAL);
        settle();
    }

    // Handles every message that is waiting, as the message loop would.
    void settle() { pump.processMessages(); }

    // What a control shows, read back from the control itself.
    std::string textOf(HWND control) const {
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return win32::narrow(text);
    }
    std::string textOf(Ctl id) const { return textOf(window.control(id)); }
    std::string tabText(int page) const {
        wchar_t text[256] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 255;
        ::SendMessageW(window.tabs(), TCM_GETITEMW, static_cast<WPARAM>(page),
                       reinterpret_cast<LPARAM>(&item));
        return win32::narrow(text);
    }
    bool enabled(Ctl id) const { return ::IsWindowEnabled(window.control(id)) != FALSE; }
    bool visible(Ctl id) const { return ::IsWindowVisible(window.control(id)) != FALSE; }
    bool checked(Ctl id) const {
        return ::SendMessageW(window.control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // A click on a button, radio button or check box, through the control's own handling.
    void click(Ctl id) { ::SendMessageW(window.control(id), BM_CLICK, 0, 0); }

    RecordingShell shell;
    ManualClock clock;
    MainForm form;
    win32window::WindowMessagePump pump{form};
    win32window::TfrmMain window;
};

}  // namespace canprog::testing
