#include "ControlSync.h"

#include <commctrl.h>

#include "Dpi.h"
#include "LogoWindow.h"
#include "base/win32/WideText.h"
#include "model/BrandTable.h"
#include "model/LogoStyle.h"

namespace canprog::win32window {

namespace {

struct WindowType {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

WindowType typeOf(Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case Kind::Group: return {WC_BUTTONW, child | BS_GROUPBOX, 0};
        case Kind::Button: return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case Kind::Radio: return {WC_BUTTONW, child | WS_TABSTOP | BS_RADIOBUTTON, 0};
        case Kind::Check: return {WC_BUTTONW, child | WS_TABSTOP | BS_CHECKBOX, 0};
        case Kind::Edit: return {WC_EDITW, child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case Kind::ReadOnly:
            return {WC_EDITW, child | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
        case Kind::Memo:
            // Without a horizontal scroll the lines wrap: every line reads from its start.
            return {WC_EDITW,
                    child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case Kind::Status:
            return {WC_EDITW,
                    child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case Kind::List:
            return {WC_COMBOBOXW, child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case Kind::Progress: return {PROGRESS_CLASSW, child, 0};
        case Kind::Spin: return {UPDOWN_CLASSW, child | UDS_ARROWKEYS, 0};
        case Kind::Page:
        case Kind::Logo: break;
    }
    return {WC_STATICW, child, 0};
}

// The height of a one-line control at 96 dpi; a check box given more wraps its caption.
constexpr int kOneLineHeight = 24;

bool centred(Ctl id) {
    return id == Ctl::MaskEdit1 || id == Ctl::MaskEdit2;
}

}  // namespace

RECT placeOnPage(const Place& place, UINT dpi) {
    int x = place.x;
    int width = place.width;
    if (place.kind == Kind::Logo) {
        // Every logo is as wide as its style, centred on the place the logos share.
        width = logoStyleFor(place.id).width;
        x += (place.width - width) / 2;
    }
    const int left = scaled(x, dpi);
    const int top = scaled(place.y, dpi);
    return {left, top, left + scaled(width, dpi), top + scaled(place.height, dpi)};
}

HWND createControl(const Place& place, HWND parent, UINT dpi) {
    const RECT at = placeOnPage(place, dpi);
    const int id = controlIdOf(place.id);
    if (place.kind == Kind::Logo) {
        for (const auto& brand : brands())
            if (brand.logo == place.id) return createLogoWindow(brand, parent, id, at);
        return nullptr;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WindowType type = typeOf(place.kind);
    if (centred(place.id)) type.style |= ES_CENTER;
    // A check box given two lines' height wraps its caption into them.
    if (place.kind == Kind::Check && place.height > kOneLineHeight) type.style |= BS_MULTILINE;
    HWND control =
        ::CreateWindowExW(type.extendedStyle, type.className, L"", type.style, at.left, at.top,
                          at.right - at.left, at.bottom - at.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control && place.kind == Kind::Spin) {
        // The arrows only report clicks: the position stays in the middle of its range.
        ::SendMessageW(control, UDM_SETRANGE32, 0, 100);
        ::SendMessageW(control, UDM_SETPOS32, 0, 50);
    }
    return control;
}

std::wstring captionText(const std::string& text) {
    std::wstring shown;
    for (wchar_t c : win32::widen(text)) {
        shown += c;
        if (c == L'&') shown += L'&';
    }
    return shown;
}

std::wstring memoLine(const std::string& line) {
    // An edit control's text ends at a NUL: a version text with NUL bytes would hide every
    // line after it.
    std::wstring wide = win32::widen(line);
    std::erase(wide, L'\0');
    return wide;
}

std::wstring memoText(const std::vector<std::string>& lines) {
    std::wstring text;
    for (const auto& line : lines) {
        if (&line != &lines.front()) text += L"\r\n";
        text += memoLine(line);
    }
    return text;
}

namespace {

std::wstring windowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void showText(HWND control, Kind kind, const std::string& text) {
    switch (kind) {
        case Kind::Group:
        case Kind::Button:
        case Kind::Radio:
        case Kind::Check: ::SetWindowTextW(control, captionText(text).c_str()); break;
        case Kind::Status: {
            // The whole outcome, its lines as an edit control breaks them.
            std::wstring wide;
            for (wchar_t c : win32::widen(text)) {
                if (c == L'\n') wide += L'\r';
                wide += c;
            }
            if (windowText(control) != wide) ::SetWindowTextW(control, wide.c_str());
            break;
        }
        case Kind::Edit:
        case Kind::ReadOnly: {
            // Blank positions (the PIN before a read) show as an empty edit, not as blanks
            // that a screen reader would say.
            const bool blank = text.find_first_not_of(' ') == std::string::npos;
            const std::wstring wide = blank ? std::wstring() : win32::widen(text);
            if (windowText(control) != wide) ::SetWindowTextW(control, wide.c_str());
            break;
        }
        default: break;
    }
}

void showProgress(HWND control, Kind kind, const ControlState& state) {
    if (kind == Kind::Progress) {
        ::SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(state.minimum),
                       static_cast<LPARAM>(state.maximum));
        ::SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(state.position), 0);
    } else if (kind == Kind::List) {
        const auto count = ::SendMessageW(control, CB_GETCOUNT, 0, 0);
        bool same = count == static_cast<LRESULT>(state.lines.size());
        for (LRESULT i = 0; same && i < count; ++i) {
            const auto length = ::SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
            ::SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
            same = item == win32::widen(state.lines[static_cast<std::size_t>(i)]);
        }
        if (!same) {
            ::SendMessageW(control, CB_RESETCONTENT, 0, 0);
            for (const auto& item : state.lines) {
                const std::wstring wide = win32::widen(item);
                ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
            }
        }
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(state.position), 0);
    }
}

void showLines(HWND memo, const ControlState& state, Change what) {
    if (what == Change::LineAdded && !state.lines.empty()) {
        // Appended at the end, which also scrolls the new line into view.
        std::wstring line = memoLine(state.lines.back());
        if (::GetWindowTextLengthW(memo) > 0 || state.lines.size() > 1) line.insert(0, L"\r\n");
        const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(memo));
        ::SendMessageW(memo, EM_SETSEL, end, static_cast<LPARAM>(end));
        ::SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
        ::SendMessageW(memo, EM_SCROLLCARET, 0, 0);  // the last line stays in view
        return;
    }
    ::SetWindowTextW(memo, memoText(state.lines).c_str());
}

}  // namespace

void showState(HWND control, Kind kind, const ControlState& state, Change what) {
    if (!control) return;
    switch (what) {
        case Change::Text:
            // A list's text is its entries.
            if (kind == Kind::List) {
                showProgress(control, kind, state);
            } else {
                showText(control, kind, state.text);
            }
            break;
        case Change::Enabled: ::EnableWindow(control, state.enabled); break;
        case Change::Visible: ::ShowWindow(control, state.visible ? SW_SHOWNA : SW_HIDE); break;
        case Change::Checked:
            if (kind == Kind::Radio || kind == Kind::Check)
                ::SendMessageW(control, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED,
                               0);
            break;
        case Change::Progress: showProgress(control, kind, state); break;
        case Change::LinesCleared:
        case Change::LineAdded:
            if (kind == Kind::Memo) showLines(control, state, what);
            break;
    }
}

void showAll(HWND control, Kind kind, const ControlState& state) {
    for (Change what :
         {Change::Text, Change::Enabled, Change::Checked, Change::Progress, Change::LinesCleared}) {
        showState(control, kind, state, what);
    }
    showState(control, kind, state, Change::Visible);
}

}  // namespace canprog::win32window
