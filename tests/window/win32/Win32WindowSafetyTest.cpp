// The Windows window's part of the safety net without a module: the added controls, a log
// that wraps, a PIN of four digits, Tab out of the log, Ctrl+Tab between the pages, names for
// a screen reader, and the system kept awake while the module is talked to.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <oleacc.h>

#include "Win32WindowFixture.h"
#include "config/OptionControls.h"
#include "model/AccessibleNames.h"
#include "model/BrandTable.h"
#include "window/win32/ComApartment.h"
#include "window/win32/Layout.h"
#include "window/win32/ScreenReaderText.h"
#include "window/win32/Win32Shell.h"

namespace canprog {
namespace {

using win32window::Kind;
using win32window::Page;

class Win32WindowSafetyTest : public ::testing::Test, public testing::Win32WindowFixture {
  protected:
    Win32WindowSafetyTest() {
        // Wired as the program wires it: dialog navigation and the window's own keys.
        pump.addDialogWindow(window.handle());
        bindOptionControls(form);
        pump.setShortcuts([this](const MSG& message) { return window.takeShortcut(message); });
    }
    // A key pressed and let go on the control that has the focus, through the message loop.
    void press(WPARAM key) {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, key, 0);
        ::PostMessageW(focus, WM_KEYUP, key, 0);
        settle();
    }

    win32window::ComApartment com;
};

TEST_F(Win32WindowSafetyTest, TheAddedControlsStartAsTheOriginalWindowWouldLeaveThem) {
    EXPECT_TRUE(visible(Ctl::KeepSettings));
    EXPECT_FALSE(checked(Ctl::KeepSettings));
    EXPECT_EQ(textOf(Ctl::KeepSettings), "Keep the module's settings");
    EXPECT_FALSE(enabled(Ctl::bbSaveSettings));
    EXPECT_FALSE(enabled(Ctl::bbOpenSettings));
    click(Ctl::KeepSettings);
    EXPECT_TRUE(form.checked(Ctl::KeepSettings));
    EXPECT_TRUE(checked(Ctl::KeepSettings));
}

TEST_F(Win32WindowSafetyTest, ALongLogLineWrapsAndReadsFromItsStart) {
    HWND memo = window.control(Ctl::meLog);
    const auto style = ::GetWindowLongPtrW(memo, GWL_STYLE);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
    form.logNote(
        Extra::HalfWritten,
        {{"flash", "601"}, {"flashTotal", "2016"}, {"eeprom", "0"}, {"eepromTotal", "16"}});
    settle();
    // One line of the model, several on the screen, the first of them its start.
    EXPECT_GT(::SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 2);
    wchar_t first[128] = {};
    first[0] = static_cast<wchar_t>(std::size(first) - 1);
    const auto length = ::SendMessageW(memo, EM_GETLINE, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first, static_cast<std::size_t>(length)).rfind(L"The module is only", 0),
              0u);
}

TEST_F(Win32WindowSafetyTest, ThePinTakesFourDigitsAtMost) {
    HWND pin = window.control(Ctl::PIN);
    window.showPage(1);
    ::SetFocus(pin);
    for (const wchar_t digit : std::wstring(L"123456")) {
        ::SendMessageW(pin, WM_CHAR, digit, 0);
    }
    settle();
    EXPECT_EQ(textOf(Ctl::PIN), "1234");
    EXPECT_EQ(form.text(Ctl::PIN), "1234");
}

TEST_F(Win32WindowSafetyTest, TabLeavesTheLogAndCtrlTabChangesThePage) {
    window.focusFirstControl();
    EXPECT_EQ(::GetFocus(), window.control(Ctl::bbOpen));
    ::SetFocus(window.control(Ctl::meLog));
    press(VK_TAB);
    EXPECT_NE(::GetFocus(), window.control(Ctl::meLog));
    ::SetFocus(window.control(Ctl::bbOpen));
    const BYTE pressed = 0x80;
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = pressed;
    ::SetKeyboardState(keys);
    press(VK_TAB);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(window.currentPage(), 1);
    EXPECT_TRUE(::IsChild(window.control(Ctl::TabSheet2), ::GetFocus()));
    // The arrow keys step the CAN program number in its field.
    ::SetFocus(window.control(Ctl::MaskEdit1));
    ASSERT_EQ(::GetFocus(), window.control(Ctl::MaskEdit1));
    press(VK_UP);
    EXPECT_EQ(textOf(Ctl::MaskEdit1), "12");
}

TEST_F(Win32WindowSafetyTest, EveryControlOfBothPagesHasANameForAScreenReader) {
    for (const auto& place : win32window::windowLayout()) {
        if (place.page == Page::Hidden || place.kind == Kind::Page) continue;
        HWND control = window.control(place.id);
        if (!::IsWindowVisible(control) && place.kind != Kind::Logo) {
            window.showPage(place.page == Page::Programming ? 0 : 1);
        }
        if (place.kind == Kind::Logo && !form.visible(place.id)) continue;
        const std::string name = win32::narrow(win32window::screenReaderName(control));
        EXPECT_FALSE(name.empty()) << controlName(place.id);
        EXPECT_EQ(name, accessibleName(form, place.id)) << controlName(place.id);
    }
    HWND logo = window.control(Ctl::sarnic_image);
    EXPECT_EQ(win32window::screenReaderRole(logo), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(win32::narrow(win32window::screenReaderDescription(logo)),
              std::string(brandForKey('8')->webAddress));
    HWND spin = window.control(Ctl::SpinButton1);
    EXPECT_EQ(win32::narrow(win32window::screenReaderName(spin, 1)), "Next CAN program");
    EXPECT_EQ(win32::narrow(win32window::screenReaderName(spin, 2)), "Previous CAN program");
    // The names follow the language.
    window.showPage(0);
    click(Ctl::lang1);
    EXPECT_EQ(win32::narrow(win32window::screenReaderName(window.control(Ctl::meLog))), "Dziennik");
    EXPECT_EQ(win32::narrow(win32window::screenReaderName(window.control(Ctl::PIN))), "Kod PIN");
}

TEST_F(Win32WindowSafetyTest, AnAssistiveToolsActionsReachTheModelAndPairsAreTrueRadioButtons) {
    window.showPage(1);
    const auto doDefault = [this](Ctl id) {
        IAccessible* accessible = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(window.control(id), static_cast<DWORD>(OBJID_CLIENT),
                                               __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self;
        ::VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        EXPECT_EQ(accessible->accDoDefaultAction(self), S_OK) << controlName(id);
        accessible->Release();
        settle();
    };
    // The default action of a check box toggles it in the model; of a radio button, checks it
    // and unchecks its partner.
    EXPECT_EQ(win32window::screenReaderRole(window.control(Ctl::RadioButton5)),
              ROLE_SYSTEM_RADIOBUTTON);
    doDefault(Ctl::CheckBox2);
    EXPECT_TRUE(form.checked(Ctl::CheckBox2));
    EXPECT_TRUE(checked(Ctl::CheckBox2));
    doDefault(Ctl::RadioButton5);
    EXPECT_TRUE(form.checked(Ctl::RadioButton5));
    EXPECT_FALSE(form.checked(Ctl::RadioButton4));
    EXPECT_FALSE(checked(Ctl::RadioButton4));
    // A check set from outside the window (BM_SETCHECK) reaches the model as a click does.
    ::SendMessageW(window.control(Ctl::RadioButton4), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(form.checked(Ctl::RadioButton4));
    EXPECT_FALSE(checked(Ctl::RadioButton5));
    ::SendMessageW(window.control(Ctl::CheckBox3), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(form.checked(Ctl::CheckBox3));
    EXPECT_FALSE(form.checked(Ctl::CheckBox2));  // FS1 and FS3 exclude each other
    EXPECT_FALSE(checked(Ctl::CheckBox2));
    // A pair is one group and one Tab stop, at its checked button; the arrow keys move inside.
    const auto style = [this](Ctl id) {
        return ::GetWindowLongPtrW(window.control(id), GWL_STYLE);
    };
    EXPECT_TRUE(style(Ctl::RadioButton4) & WS_GROUP);
    EXPECT_TRUE(style(Ctl::RadioButton4) & WS_TABSTOP);
    EXPECT_FALSE(style(Ctl::RadioButton5) & (WS_GROUP | WS_TABSTOP));
    EXPECT_TRUE(style(Ctl::RadioButton6) & WS_GROUP);
    ::SetFocus(window.control(Ctl::RadioButton4));
    press(VK_RIGHT);
    EXPECT_TRUE(form.checked(Ctl::RadioButton5));
    EXPECT_EQ(::GetFocus(), window.control(Ctl::RadioButton5));
    EXPECT_TRUE(style(Ctl::RadioButton5) & WS_TABSTOP);
    EXPECT_FALSE(style(Ctl::RadioButton4) & WS_TABSTOP);
}

TEST_F(Win32WindowSafetyTest, TheLogComesAfterTheCommandsAndThePageSaysItsOutcomeWhole) {
    // Tab runs through the commands, the languages and the CAN program, the log last.
    HWND page = window.control(Ctl::TabSheet1);
    EXPECT_EQ(::GetNextDlgTabItem(page, window.control(Ctl::BitBtn4), FALSE),
              window.control(Ctl::meLog));
    for (const auto& [from, to] :
         {std::pair{Ctl::KeepSettings, Ctl::WaitForModule},
          std::pair{Ctl::WaitForModule, Ctl::CheckConnection},
          std::pair{Ctl::CheckConnection, Ctl::SaveLog}, std::pair{Ctl::SaveLog, Ctl::lang2},
          std::pair{Ctl::bbHelp, Ctl::FindFirmware}}) {
        EXPECT_EQ(::GetNextDlgTabItem(page, window.control(from), FALSE), window.control(to))
            << controlName(from);
    }
    // The status line of the parameters page shows every line of the outcome.
    form.setText(Ctl::Edit3, "Error data transmission\nThe module stopped answering");
    EXPECT_EQ(textOf(Ctl::Edit3), "Error data transmission\r\nThe module stopped answering");
    EXPECT_TRUE(::GetWindowLongPtrW(window.control(Ctl::Edit3), GWL_STYLE) & ES_MULTILINE);
    // The PIN takes digits only; the port list is named "Port".
    EXPECT_TRUE(::GetWindowLongPtrW(window.control(Ctl::PIN), GWL_STYLE) & ES_NUMBER);
    EXPECT_EQ(win32::narrow(win32window::screenReaderName(window.control(Ctl::cbPort))), "Port");
}

TEST_F(Win32WindowSafetyTest, ThePortListIsReadAgainEachTimeItOpens) {
    std::vector<serial::PresentPort> present = {
        {5, "\\\\.\\COM5", false, "USB Serial Port (COM5)", ""}};
    form.bindClick(Ctl::cbPort, [&] { form.showPorts(present); });
    HWND list = window.control(Ctl::cbPort);
    const auto open = [&] {
        ::SendMessageW(::GetParent(list), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list), CBN_DROPDOWN),
                       reinterpret_cast<LPARAM>(list));
        settle();
    };
    const auto entry = [&](int item) {
        wchar_t text[128] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(text));
        return win32::narrow(text);
    };
    open();
    EXPECT_EQ(entry(4), "COM5 \u2014 USB Serial Port (COM5)");
    present.push_back({17, "\\\\.\\COM17", false, "USB-SERIAL CH340 (COM17)", ""});
    open();
    ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 13);
    EXPECT_EQ(entry(12), "COM17 \u2014 USB-SERIAL CH340 (COM17)");
    ::SendMessageW(list, CB_SETCURSEL, 12, 0);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(form.selectedPortNumber(), 17);
}

TEST(Win32ShellTest, TheSystemIsKeptAwakeWhileAnOperationRuns) {
    std::vector<EXECUTION_STATE> states;
    win32window::Win32Shell shell([&](EXECUTION_STATE state) {
        states.push_back(state);
        return EXECUTION_STATE{ES_CONTINUOUS};
    });
    MainForm form(shell);
    ASSERT_TRUE(form.beginOperation(OperationKind::FirmwareWrite));
    form.endOperation();
    EXPECT_EQ(states,
              (std::vector<EXECUTION_STATE>{ES_CONTINUOUS | ES_SYSTEM_REQUIRED, ES_CONTINUOUS}));
}

}  // namespace
}  // namespace canprog
