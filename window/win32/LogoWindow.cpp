#include "LogoWindow.h"

#include <algorithm>
#include <array>

#include "Dpi.h"
#include "ErrorDisplay.h"
#include "GdiHandle.h"
#include "WindowClass.h"
#include "base/win32/WideText.h"
#include "model/LogoStyle.h"

namespace canprog::win32window {

namespace {

constexpr wchar_t kClassName[] = L"canprog.Logo";

COLORREF colourOf(Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The top of the shading: the colour made a third brighter.
Rgb brighter(Rgb colour) {
    const auto up = [](std::uint8_t value) {
        return static_cast<std::uint8_t>(std::min(255, value * 13 / 10 + 12));
    };
    return {up(colour.red), up(colour.green), up(colour.blue)};
}

Rgb between(Rgb top, Rgb bottom, int row, int rows) {
    const auto mix = [row, rows](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(a + (b - a) * row / std::max(1, rows - 1));
    };
    return {mix(top.red, bottom.red), mix(top.green, bottom.green), mix(top.blue, bottom.blue)};
}

RegionHandle outlineOf(LogoShape shape, RECT r, UINT dpi) {
    switch (shape) {
        case LogoShape::Banner: return RegionHandle(::CreateRectRgnIndirect(&r));
        case LogoShape::Badge:
            return RegionHandle(::CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1,
                                                     scaled(16, dpi), scaled(16, dpi)));
        case LogoShape::Frame:
            return RegionHandle(::CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1,
                                                     scaled(6, dpi), scaled(6, dpi)));
        case LogoShape::Round: return RegionHandle(::CreateEllipticRgnIndirect(&r));
        case LogoShape::Slant: {
            const int lean = (r.bottom - r.top) / 3;
            const std::array<POINT, 4> corners = {{{r.left + lean, r.top},
                                                   {r.right, r.top},
                                                   {r.right - lean, r.bottom},
                                                   {r.left, r.bottom}}};
            return RegionHandle(::CreatePolygonRgn(corners.data(), 4, WINDING));
        }
    }
    return RegionHandle(::CreateRectRgnIndirect(&r));
}

const Brand* brandOf(HWND window) {
    return reinterpret_cast<const Brand*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A press of a logo that has an address, told to its page as a click.
void click(HWND window) {
    const Brand* brand = brandOf(window);
    if (!brand || brand->webAddress.empty()) return;
    ::SendMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), STN_CLICKED),
                   reinterpret_cast<LPARAM>(window));
}

LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            RECT area;
            ::GetClientRect(window, &area);
            if (const Brand* brand = brandOf(window)) paintLogo(dc, area, brand->logo);
            if (::GetFocus() == window) ::DrawFocusRect(dc, &area);
            ::EndPaint(window, &paint);
            return 0;
        }
        // A logo with an address is a button: reached with Tab, pressed with Space.
        case WM_GETDLGCODE: return DLGC_WANTCHARS;
        case WM_CHAR:
            if (wParam == L' ') click(window);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: ::InvalidateRect(window, nullptr, FALSE); return 0;
        case WM_SETCURSOR:
            if (const Brand* brand = brandOf(window); brand && !brand->webAddress.empty()) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN: ::SetCapture(window); return 0;
        case WM_LBUTTONUP: {
            const bool captured = ::GetCapture() == window;
            ::ReleaseCapture();
            RECT area;
            ::GetClientRect(window, &area);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (captured && ::PtInRect(&area, at)) click(window);
            return 0;
        }
        default: break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK logoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guarded(window, [&] { return onMessage(window, message, wParam, lParam); });
}

void registerClass(HINSTANCE instance) {
    registerWindowClass(instance, kClassName, logoProc);
}

}  // namespace

void paintLogo(HDC dc, RECT area, Ctl logo) {
    const LogoStyle style = logoStyleFor(logo);
    const UINT dpi = static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY));
    const UINT scale = (area.bottom - area.top) > 0
                           ? static_cast<UINT>(::MulDiv(area.bottom - area.top, 96, kLogoHeight))
                           : dpi;
    RECT inside{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    const RegionHandle outline = outlineOf(style.shape, inside, scale);

    // Shaded from a brighter top to the brand's colour at the bottom, inside the outline.
    ::SelectClipRgn(dc, outline.get());
    const Rgb top = brighter(style.background);
    const int rows = inside.bottom - inside.top;
    for (int row = 0; row < rows; ++row) {
        const BrushHandle shade(
            ::CreateSolidBrush(colourOf(between(top, style.background, row, rows))));
        const RECT line{inside.left, inside.top + row, inside.right, inside.top + row + 1};
        ::FillRect(dc, &line, shade.get());
    }
    ::SelectClipRgn(dc, nullptr);
    if (style.shape == LogoShape::Frame) {
        const BrushHandle pen(::CreateSolidBrush(colourOf(style.foreground)));
        ::FrameRgn(dc, outline.get(), pen.get(), scaled(2, scale), scaled(2, scale));
    }

    const FontHandle lettering = windowFont(scale, true, scaled(kLogoHeight / 2, scale));
    const HGDIOBJ before = ::SelectObject(dc, lettering.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colourOf(style.foreground));
    const std::wstring name = win32::widen(style.name);
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &inside,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, before);
}

HWND createLogoWindow(const Brand& brand, HWND parent, int controlId, RECT place) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerClass(instance);
    const DWORD tabStop = brand.webAddress.empty() ? 0 : WS_TABSTOP;
    return ::CreateWindowExW(0, kClassName, L"", WS_CHILD | tabStop, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                             const_cast<Brand*>(&brand));
}

}  // namespace canprog::win32window
