#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <stdexcept>

#include "Win32WindowFixture.h"
#include "config/OptionControls.h"
#include "model/BrandTable.h"
#include "window/win32/ControlSync.h"
#include "window/win32/Win32Shell.h"

namespace canprog {
namespace {

class Win32WindowBindingTest : public ::testing::Test, public testing::Win32WindowFixture {};

TEST_F(Win32WindowBindingTest, TitleClientAreaAndFrame) {
    EXPECT_EQ(textOf(window.handle()), "CAN BUS MODUL BOOTLOADER");
    ASSERT_EQ(window.dpi(), 96u);
    RECT client;
    ::GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, 459);
    EXPECT_EQ(client.bottom, kClientHeight);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window.handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);  // a fixed single border
    const auto tabStyle = static_cast<DWORD>(::GetWindowLongPtrW(window.tabs(), GWL_STYLE));
    EXPECT_TRUE(tabStyle & TCS_BOTTOM);
    EXPECT_EQ(window.currentPage(), 0);
    EXPECT_TRUE(visible(Ctl::bbOpen));
    EXPECT_FALSE(visible(Ctl::BitBtn2));  // on the other page
}

TEST_F(Win32WindowBindingTest, TheWindowIsCentredOnItsMonitor) {
    window.centreOnScreen();
    RECT frame;
    ::GetWindowRect(window.handle(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window.handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_LE(std::abs((frame.left - monitor.rcWork.left) - (monitor.rcWork.right - frame.right)),
              1);
    EXPECT_LE(std::abs((frame.top - monitor.rcWork.top) - (monitor.rcWork.bottom - frame.bottom)),
              1);
}

TEST_F(Win32WindowBindingTest, CaptionsFollowTheLanguageButtons) {
    EXPECT_EQ(textOf(Ctl::bbOpen), "Open file");
    EXPECT_EQ(textOf(Ctl::GroupBox18), "CAN program list");
    EXPECT_EQ(tabText(1), "Operation parameters");
    EXPECT_TRUE(checked(Ctl::lang2));

    click(Ctl::lang1);

    EXPECT_TRUE(checked(Ctl::lang1));
    EXPECT_FALSE(checked(Ctl::lang2));
    EXPECT_EQ(textOf(Ctl::bbOpen), "Otwórz plik");
    EXPECT_EQ(textOf(Ctl::GroupBox5), "(1) Obsługa systemu ");
    EXPECT_EQ(tabText(0), "Programowanie");
    EXPECT_EQ(form.message(2), "Błąd odczytu pliku!");

    click(Ctl::lang7);
    EXPECT_EQ(textOf(Ctl::bbOpen), form.text(Ctl::bbOpen));
    EXPECT_TRUE(checked(Ctl::lang7));
}

TEST_F(Win32WindowBindingTest, EnabledStatesAfterStartUp) {
    for (Ctl id : {Ctl::bbOpen, Ctl::Button2, Ctl::cbPort, Ctl::BitBtn4, Ctl::BitBtn2, Ctl::PIN,
                   Ctl::lang1, Ctl::RadioButton4}) {
        EXPECT_TRUE(enabled(id)) << controlName(id);
    }
    // Nothing to write before a file is read, no program list, nothing read to save, nothing
    // to cancel.
    for (Ctl id : {Ctl::bbUpload, Ctl::bbHelp, Ctl::BitBtn1, Ctl::BitBtn3, Ctl::Button1}) {
        EXPECT_FALSE(enabled(id)) << controlName(id);
    }
    // While an operation runs only Cancel is there to press.
    ASSERT_TRUE(form.beginOperation());
    EXPECT_TRUE(enabled(Ctl::Button1));
    for (Ctl id : {Ctl::bbOpen, Ctl::Button2, Ctl::BitBtn2, Ctl::lang1, Ctl::cbPort}) {
        EXPECT_FALSE(enabled(id)) << controlName(id);
    }
    form.endOperation();
    EXPECT_FALSE(enabled(Ctl::Button1));
    EXPECT_TRUE(enabled(Ctl::bbOpen));
}

TEST_F(Win32WindowBindingTest, ModelChangesReachTheControls) {
    form.log("first");
    form.log("second");
    EXPECT_EQ(textOf(Ctl::meLog), "first\r\nsecond");
    form.setProgressRange(Ctl::ProgressBar, 0, 30);
    form.setProgressPosition(Ctl::ProgressBar, 17);
    EXPECT_EQ(::SendMessageW(window.control(Ctl::ProgressBar), PBM_GETPOS, 0, 0), 17);
    EXPECT_EQ(::SendMessageW(window.control(Ctl::ProgressBar), PBM_GETRANGE, FALSE, 0), 30);
    form.setEnabled(Ctl::bbUpload, true);
    EXPECT_TRUE(enabled(Ctl::bbUpload));
    form.setText(Ctl::Edit2, "Moduł ŁÓDŹ.hexfw");
    EXPECT_EQ(textOf(Ctl::Edit2), "Moduł ŁÓDŹ.hexfw");
    form.setText(Ctl::bbOpen, "Save & go");
    EXPECT_EQ(textOf(Ctl::bbOpen), "Save && go");  // shown as typed, not as a mnemonic
    // A click on the language frame itself re-applies the language, which clears the log.
    RECT frame;
    ::GetWindowRect(window.control(Ctl::RadioGroup1), &frame);
    HWND page = ::GetParent(window.control(Ctl::RadioGroup1));
    POINT title{frame.left + 3, frame.top + 3};
    ::ScreenToClient(page, &title);
    ::SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(title.x, title.y));
    EXPECT_EQ(textOf(Ctl::meLog), "");
}

TEST_F(Win32WindowBindingTest, PortListPinAndSpinReachTheModel) {
    HWND ports = window.control(Ctl::cbPort);
    ASSERT_EQ(::SendMessageW(ports, CB_GETCOUNT, 0, 0), 12);
    wchar_t item[16] = {};
    ::SendMessageW(ports, CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), L"COM12");
    ::SendMessageW(ports, CB_SETCURSEL, 4, 0);
    ::SendMessageW(::GetParent(ports), WM_COMMAND,
                   MAKEWPARAM(win32window::controlIdOf(Ctl::cbPort), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(ports));
    EXPECT_EQ(form.selectedPortIndex(), 4);

    ::SetWindowTextW(window.control(Ctl::PIN), L"4321");
    EXPECT_EQ(form.text(Ctl::PIN), "4321");

    bindOptionControls(form);
    window.showPage(0);
    const std::string before = form.text(Ctl::MaskEdit2);
    HWND spin = window.control(Ctl::SpinButton2);
    RECT area;
    ::GetClientRect(spin, &area);
    const LPARAM upper = MAKELPARAM(area.right / 2, area.bottom / 4);
    ::SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, upper);
    ::SendMessageW(spin, WM_LBUTTONUP, 0, upper);
    EXPECT_EQ(std::stoi(form.text(Ctl::MaskEdit2)), std::stoi(before) + 1);
    EXPECT_EQ(textOf(Ctl::MaskEdit2), form.text(Ctl::MaskEdit2));
}

TEST_F(Win32WindowBindingTest, OneLogoIsShownWithItsToolTipAndItsClickOpensTheAddress) {
    int shown = 0;
    for (const auto& brand : brands()) shown += visible(brand.logo) ? 1 : 0;
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(visible(Ctl::sarnic_image));
    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::PICencoding, Ctl::Edit1, Ctl::Memo1, Ctl::Clear,
                   Ctl::lang8, Ctl::lang9}) {
        EXPECT_FALSE(visible(id)) << controlName(id);
    }
    // Russian is chosen as the others are.
    ASSERT_TRUE(visible(Ctl::lang4));
    click(Ctl::lang4);
    EXPECT_EQ(form.languageCode, '3');
    EXPECT_EQ(form.text(Ctl::Button1), "Отмена");

    HWND logo = window.control(Ctl::sarnic_image);
    ::SendMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "https://www.sarnic.example/");
    // Released outside the logo: no click.
    ::SendMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(-50, 10));
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(Win32WindowBindingTest, CancelButtonReachesTheCountdown) {
    ASSERT_TRUE(form.beginOperation());
    form.countdown().start(30);
    click(Ctl::Button1);
    EXPECT_EQ(form.countdown().timeoutTicks(), -1);
    EXPECT_FALSE(form.countdown().tickerEnabled());
    form.endOperation();
}

TEST_F(Win32WindowBindingTest, AnExceptionFromAClickIsShownAndTheWindowGoesOn) {
    std::vector<std::string> shown;
    window.setErrorDisplay([&](const std::string& message) { shown.push_back(message); });
    form.bindClick(Ctl::BitBtn4,
                   [] { throw std::runtime_error("'x' is not a valid integer value"); });
    click(Ctl::BitBtn4);
    click(Ctl::BitBtn4);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown.front(), "'x' is not a valid integer value");
    click(Ctl::lang1);  // and the window still answers
    EXPECT_EQ(textOf(Ctl::bbOpen), "Otwórz plik");
}

TEST_F(Win32WindowBindingTest, ClosingTheWindowEndsTheMessageLoop) {
    ::PostMessageW(window.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(pump.run(), 0);
    EXPECT_EQ(window.handle(), nullptr);
}

TEST(Win32Shell, TheFilterAndExtensionInTheDialogsForm) {
    using namespace std::string_literals;
    EXPECT_EQ(win32window::dialogFilter("Plik HEXFW (*.hexfw)|*.hexfw"),
              L"Plik HEXFW (*.hexfw)\0*.hexfw\0\0"s);
    EXPECT_EQ(win32window::dialogDefaultExtension("*.hexfw"), L"hexfw");
    EXPECT_EQ(win32window::dialogDefaultExtension("*.hex"), L"hex");
}

}  // namespace
}  // namespace canprog
