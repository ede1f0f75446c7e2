#include "TForm1.h"

#include <commctrl.h>

#include <stdexcept>

#include "ControlSync.h"
#include "Dpi.h"
#include "ErrorDisplay.h"
#include "WindowClass.h"
#include "base/win32/WideText.h"

namespace canprog::win32window {

namespace {

constexpr wchar_t kClassName[] = L"canprog.Form1";
constexpr UINT_PTR kEscapeClosesSubclass = 0x4553;

// Escape in the list closes the window, as it closes a dialog.
LRESULT CALLBACK escapeCloses(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) {
        if (message == WM_KEYDOWN) ::PostMessageW(::GetParent(memo), WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(memo, escapeCloses, kEscapeClosesSubclass);
    return ::DefSubclassProc(memo, message, wParam, lParam);
}
}  // namespace

TForm1::TForm1(HelpWindow& model, HWND owner, HINSTANCE instance) : model_(model) {
    // The program's own icon, as the main window has it.
    registerWindowClass(instance, kClassName, windowProc,
                        ::LoadIconW(instance, MAKEINTRESOURCEW(1)),
                        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0)));

    ::CreateWindowExW(0, kClassName, win32::widen(model_.caption()).c_str(),
                      WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                      model_.outerWidth(), model_.outerHeight(), owner, nullptr, instance, this);
    if (!window_) throw std::runtime_error("The help window cannot be created.");
    font_ = windowFont(dpiOf(window_));
    memo_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                  ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                              0, 0, 0, 0, window_, nullptr, instance, nullptr);
    ::SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::ShowScrollBar(memo_, SB_VERT, TRUE);  // always there, as the program list is long
    ::SetWindowSubclass(memo_, escapeCloses, kEscapeClosesSubclass, 0);
    model_.onShow([this] { showModel(); });
}

TForm1::~TForm1() {
    model_.onShow({});
    if (window_) ::DestroyWindow(window_);
}

void TForm1::showModel() {
    if (!window_) return;
    ::SetWindowTextW(window_, win32::widen(model_.caption()).c_str());
    ::SetWindowTextW(memo_, memoText(model_.lines()).c_str());
    const UINT dpi = dpiOf(window_);
    UINT flags = SWP_NOZORDER;
    int left = 0, top = 0;
    if (model_.timesShown() == 1) {
        left = scaled(HelpWindow::kFirstLeft, dpi);
        top = scaled(HelpWindow::kFirstTop, dpi);
    } else {
        flags |= SWP_NOMOVE;
    }
    ::SetWindowPos(window_, nullptr, left, top, scaled(model_.outerWidth(), dpi),
                   scaled(model_.outerHeight(), dpi), flags);
    ::ShowWindow(window_, SW_SHOW);
    ::BringWindowToTop(window_);
}

LRESULT CALLBACK TForm1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TForm1*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return guarded(window, [&] { return self->onMessage(message, wParam, lParam); });
}

LRESULT TForm1::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (memo_) ::MoveWindow(memo_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DPICHANGED: {
            font_ = windowFont(HIWORD(wParam));
            ::SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            model_.hide();
            ::ShowWindow(window_, SW_HIDE);
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = ::DefWindowProcW(window_, message, wParam, lParam);
            window_ = nullptr;
            memo_ = nullptr;
            return result;
        }
        default: return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace canprog::win32window
