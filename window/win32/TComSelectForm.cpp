#include "TComSelectForm.h"

#include "ErrorDisplay.h"
#include "Resources.h"
#include "base/win32/WideText.h"

namespace canprog::win32window {

std::optional<int> TComSelectForm::choose(HWND owner,
                                          const std::vector<serial::PresentPort>& ports) {
    TComSelectForm form(ports);
    const auto instance = ::GetModuleHandleW(nullptr);
    const INT_PTR answer = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(CANPROG_PORT_DIALOG), owner,
                                             dialogProc, reinterpret_cast<LPARAM>(&form));
    if (answer != IDOK) return std::nullopt;
    return form.chosen_;
}

INT_PTR CALLBACK TComSelectForm::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TComSelectForm*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    return static_cast<INT_PTR>(guarded(
        dialog, [&] { return static_cast<LRESULT>(self->onMessage(dialog, message, wParam)); }));
}

INT_PTR TComSelectForm::onMessage(HWND dialog, UINT message, WPARAM wParam) {
    HWND list = ::GetDlgItem(dialog, CANPROG_PORT_LIST);
    switch (message) {
        case WM_INITDIALOG:
            for (const auto& port : ports_) {
                const std::wstring item = win32::widen(serial::portItem(port.number));
                ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            if (!ports_.empty()) ::SendMessageW(list, CB_SETCURSEL, 0, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    const auto item = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
                    if (item >= 0 && static_cast<std::size_t>(item) < ports_.size())
                        chosen_ = ports_[static_cast<std::size_t>(item)].number;
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL: ::EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace canprog::win32window
