#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include "Win32WindowFixture.h"
#include "window/win32/ControlSync.h"
#include "window/win32/Dpi.h"
#include "window/win32/Layout.h"

namespace canprog {
namespace {

using win32window::Kind;
using win32window::scaled;

// Room a push button needs around its text (frame and margins).
constexpr int kButtonPadding = 8;  // at 96 dpi, as the two below
// Room a group box needs around its title: its indent and the gaps on the frame line.
constexpr int kGroupTitlePadding = 14;
// A radio button's or check box's mark and the gap after it.
constexpr int kMarkWidth = 17;

class Win32WindowFitTest : public ::testing::Test, public testing::Win32WindowFixture {
  protected:
    SIZE extentOf(HWND control, const std::wstring& text) {
        HDC dc = ::GetDC(control);
        const HGDIOBJ before = ::SelectObject(dc, window.font());
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        ::SelectObject(dc, before);
        ::ReleaseDC(control, dc);
        return size;
    }

    // The height of a text wrapped at word breaks into `width`.
    int wrappedHeightOf(HWND control, const std::wstring& text, int width) {
        HDC dc = ::GetDC(control);
        const HGDIOBJ before = ::SelectObject(dc, window.font());
        RECT area{0, 0, width, 0};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(dc, before);
        ::ReleaseDC(control, dc);
        return area.bottom - area.top;
    }

    // Moves the open window to a monitor of `dpi` dots per inch, as Windows tells it.
    void changeDpi(UINT dpi) {
        RECT at;
        ::GetWindowRect(window.handle(), &at);
        const auto rescaled = [&](LONG length) {
            return ::MulDiv(length, static_cast<int>(dpi), static_cast<int>(dpi_));
        };
        RECT suggested{at.left, at.top, at.left + rescaled(at.right - at.left),
                       at.top + rescaled(at.bottom - at.top)};
        ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        dpi_ = dpi;
        settle();
    }

    // Every text on the shown page fits its control with the margins of the window's scale, and
    // every control lies inside its page.
    void expectNothingClipped(int page) {
        const int buttonPadding = scaled(kButtonPadding, dpi_);
        const int groupTitlePadding = scaled(kGroupTitlePadding, dpi_);
        const int markWidth = scaled(kMarkWidth, dpi_);
        for (const auto& place : win32window::windowLayout()) {
            const int pageOfPlace = place.page == win32window::Page::Programming  ? 0
                                    : place.page == win32window::Page::Parameters ? 1
                                                                                  : -1;
            if (pageOfPlace != page || place.kind == Kind::Page) continue;
            HWND control = window.control(place.id);
            if (!::IsWindowVisible(control)) continue;
            const std::string name(controlName(place.id));
            RECT area, pageArea;
            ::GetWindowRect(control, &area);
            ::GetWindowRect(::GetParent(control), &pageArea);
            EXPECT_TRUE(area.left >= pageArea.left && area.top >= pageArea.top &&
                        area.right <= pageArea.right && area.bottom <= pageArea.bottom)
                << name << " leaves its page";
            const int width = area.right - area.left;
            const int height = area.bottom - area.top;
            const std::wstring text = win32::widen(form.text(place.id));
            const SIZE needed = extentOf(control, text);
            switch (place.kind) {
                case Kind::Group:
                    EXPECT_LE(needed.cx + groupTitlePadding, width)
                        << name << ": " << form.text(place.id);
                    break;
                case Kind::Button:
                    EXPECT_LE(needed.cx + buttonPadding, width)
                        << name << ": " << form.text(place.id);
                    EXPECT_GE(height, needed.cy + 4) << name;
                    break;
                case Kind::Radio:
                case Kind::Check:
                    if (::GetWindowLongPtrW(control, GWL_STYLE) & BS_MULTILINE) {
                        // A wrapping caption: its lines fit the box's height.
                        EXPECT_LE(wrappedHeightOf(control, text, width - markWidth), height)
                            << name << ": " << form.text(place.id);
                        break;
                    }
                    EXPECT_LE(needed.cx + markWidth, width) << name << ": " << form.text(place.id);
                    EXPECT_GE(height, needed.cy) << name;
                    break;
                default: break;
            }
        }
        // The tabs: each text fits its tab, and the row fits the window.
        RECT strip;
        ::GetClientRect(window.tabs(), &strip);
        for (int tab = 0; tab < 2; ++tab) {
            RECT item;
            ::SendMessageW(window.tabs(), TCM_GETITEMRECT, static_cast<WPARAM>(tab),
                           reinterpret_cast<LPARAM>(&item));
            const SIZE needed = extentOf(window.tabs(), win32::widen(tabText(tab)));
            EXPECT_LE(needed.cx + buttonPadding, item.right - item.left) << tabText(tab);
            EXPECT_LE(item.right, strip.right) << tabText(tab);
        }
    }

    UINT dpi_ = win32window::kDesignDpi;
};

// At the scales Windows offers (100, 125, 150 and 175 %), each reached while the window is
// open, and back.
TEST_F(Win32WindowFitTest, EveryLanguageFitsOnBothTabsAtEveryScale) {
    for (const UINT dpi : {96u, 120u, 144u, 168u, 96u}) {
        changeDpi(dpi);
        for (char code = '0'; code <= '6'; ++code) {
            SCOPED_TRACE(std::string("language ") + code + " at " + std::to_string(dpi) + " dpi");
            form.zmiana_jezyka(code);
            for (int page = 0; page < 2; ++page) {
                window.showPage(page);
                settle();
                expectNothingClipped(page);
            }
        }
    }
}

TEST_F(Win32WindowFitTest, FaModeCaptionsFit) {
    for (char code = '0'; code <= '6'; ++code) {
        SCOPED_TRACE(std::string("language ") + code);
        form.zmiana_jezyka(code);
        auto caption = form.text(Ctl::GroupBox8);
        const auto at = caption.find('I');
        ASSERT_NE(at, std::string::npos);
        caption[at] = 'A';
        form.setText(Ctl::GroupBox8, caption);
        window.showPage(1);
        settle();
        expectNothingClipped(1);
    }
}

}  // namespace
}  // namespace canprog
