#include "FirmwareFinderDialog.h"

#include <shlobj.h>

#include "ModalDialog.h"
#include "Resources.h"
#include "base/win32/WideText.h"

namespace canprog::win32window {

namespace {

void setText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextW(dialog, id, win32::widen(text).c_str());
}

std::string textOf(HWND control) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return win32::narrow(text);
}

}  // namespace

std::optional<std::string> FirmwareFinderDialog::choose(HWND owner, FirmwareSearch& search) {
    FirmwareFinderDialog dialog(search);
    if (runModalDialog(owner, CANPROG_FIND_DIALOG, dialog) != IDOK) return std::nullopt;
    return dialog.chosen_;
}

void FirmwareFinderDialog::showRows(HWND dialog) {
    setText(dialog, CANPROG_FIND_FOLDER, search_.folder());
    HWND rows = ::GetDlgItem(dialog, CANPROG_FIND_ROWS);
    ::SendMessageW(rows, LB_RESETCONTENT, 0, 0);
    LRESULT widest = 0;
    const HDC dc = ::GetDC(rows);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(rows, WM_GETFONT, 0, 0));
    const HGDIOBJ before = ::SelectObject(dc, font);
    for (const FirmwareSearch::Row& row : search_.rows()) {
        const std::wstring text = win32::widen(row.text);
        ::SendMessageW(rows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max<LRESULT>(widest, size.cx);
    }
    ::SelectObject(dc, before);
    ::ReleaseDC(rows, dc);
    // Long rows scroll sideways instead of being cut off.
    ::SendMessageW(rows, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    if (!search_.rows().empty()) ::SendMessageW(rows, LB_SETCURSEL, 0, 0);
    updateUseButton(dialog);
}

std::optional<std::size_t> FirmwareFinderDialog::currentUsableRow(HWND dialog) const {
    const LRESULT row = ::SendDlgItemMessageW(dialog, CANPROG_FIND_ROWS, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<std::size_t>(row) >= search_.rows().size()) return std::nullopt;
    if (!search_.rows()[static_cast<std::size_t>(row)].usable) return std::nullopt;
    return static_cast<std::size_t>(row);
}

void FirmwareFinderDialog::updateUseButton(HWND dialog) {
    ::EnableWindow(::GetDlgItem(dialog, IDOK), currentUsableRow(dialog).has_value());
}

void FirmwareFinderDialog::pickFolder(HWND dialog) {
    const std::wstring title = win32::widen(search_.caption(WindowText::OtherFolder));
    BROWSEINFOW browse{};
    browse.hwndOwner = dialog;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    const bool named = ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    if (!named) return;
    search_.setFolder(win32::narrow(path));
    showRows(dialog);
}

INT_PTR FirmwareFinderDialog::onMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            std::string title = search_.caption(WindowText::FindFirmware);
            if (title.size() > 3 && title.compare(title.size() - 3, 3, "...") == 0) {
                title.resize(title.size() - 3);
            }
            ::SetWindowTextW(dialog, win32::widen(title).c_str());
            setText(dialog, CANPROG_FIND_SEARCH_LABEL, search_.caption(WindowText::SearchText));
            setText(dialog, CANPROG_FIND_FOLDER_LABEL, search_.caption(WindowText::LibraryFolder));
            setText(dialog, CANPROG_FIND_OTHER_FOLDER, search_.caption(WindowText::OtherFolder));
            setText(dialog, IDOK, search_.caption(WindowText::UseFirmware));
            setText(dialog, IDCANCEL, search_.caption(WindowText::CloseWindow));
            setText(dialog, CANPROG_FIND_SEARCH, search_.searchText());
            showRows(dialog);
            ::SetFocus(::GetDlgItem(dialog, CANPROG_FIND_SEARCH));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case CANPROG_FIND_SEARCH:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        search_.setSearchText(textOf(::GetDlgItem(dialog, CANPROG_FIND_SEARCH)));
                        showRows(dialog);
                    }
                    return TRUE;
                case CANPROG_FIND_ROWS:
                    if (HIWORD(wParam) == LBN_SELCHANGE) updateUseButton(dialog);
                    if (HIWORD(wParam) == LBN_DBLCLK && currentUsableRow(dialog)) {
                        ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                    }
                    return TRUE;
                case CANPROG_FIND_OTHER_FOLDER: pickFolder(dialog); return TRUE;
                case IDOK: {
                    const auto row = currentUsableRow(dialog);
                    if (!row) return TRUE;
                    chosen_ = search_.rows()[*row].path;
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
