#include "TComSelectForm.h"

#include "ModalDialog.h"
#include "Resources.h"
#include "base/win32/WideText.h"

namespace canprog::win32window {

std::optional<int> TComSelectForm::choose(HWND owner,
                                          const std::vector<serial::PresentPort>& ports) {
    TComSelectForm form(ports);
    if (runModalDialog(owner, CANPROG_PORT_DIALOG, form) != IDOK) return std::nullopt;
    return form.chosen_;
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
