#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>

#include "Win32WindowFixture.h"
#include "operations/HelpHandler.h"
#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "support/TestData.h"
#include "window/win32/FirmwareFinderDialog.h"
#include "window/win32/Resources.h"
#include "window/win32/TComSelectForm.h"
#include "window/win32/TForm1.h"

namespace canprog {
namespace {

using win32window::TComSelectForm;

class Win32HelpWindowTest : public ::testing::Test, public testing::Win32WindowFixture {
  protected:
    RECT frame() const {
        RECT outer;
        ::GetWindowRect(helpWindow.handle(), &outer);
        return outer;
    }
    HelpWindow help;
    win32window::TForm1 helpWindow{help, window.handle(), ::GetModuleHandleW(nullptr)};
};

TEST_F(Win32HelpWindowTest, CreatedHiddenThenShownSizedToTheList) {
    EXPECT_FALSE(::IsWindowVisible(helpWindow.handle()));
    EXPECT_EQ(textOf(helpWindow.handle()), "Pomoc");
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(helpWindow.handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_THICKFRAME);  // sizeable
    const auto memoStyle = static_cast<DWORD>(::GetWindowLongPtrW(helpWindow.memo(), GWL_STYLE));
    EXPECT_TRUE(memoStyle & ES_READONLY);
    EXPECT_TRUE(memoStyle & WS_VSCROLL);

    form.firmwareFileName = testing::dataFile("help_100_lines.hexfw");
    bbHelpClick(form, help);

    EXPECT_TRUE(::IsWindowVisible(helpWindow.handle()));
    EXPECT_EQ(textOf(helpWindow.handle()), "CAN program list");
    EXPECT_EQ(::SendMessageW(helpWindow.memo(), EM_GETLINECOUNT, 0, 0), 100);
    const RECT outer = frame();
    EXPECT_EQ(outer.right - outer.left, 250);
    EXPECT_EQ(outer.bottom - outer.top, 600);
    EXPECT_EQ(outer.left, 345);
    EXPECT_EQ(outer.top, 204);
}

TEST_F(Win32HelpWindowTest, ShownAgainWithNewTextWhereTheUserLeftItAndClosingOnlyHides) {
    form.firmwareFileName = testing::dataFile("help_3_lines.hexfw");
    bbHelpClick(form, help);
    ::SetWindowPos(helpWindow.handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form.firmwareFileName = testing::dataFile("help_300_chars.hexfw");
    bbHelpClick(form, help);
    EXPECT_EQ(textOf(helpWindow.memo()), std::string(300, 'W'));
    const RECT outer = frame();
    EXPECT_EQ(outer.right - outer.left, 1000);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);

    ::SendMessageW(helpWindow.handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(help.visible());
    EXPECT_FALSE(::IsWindowVisible(helpWindow.handle()));
    EXPECT_TRUE(::IsWindow(helpWindow.handle()));
}

TEST_F(Win32HelpWindowTest, EscapeClosesTheListAndAPlainFilesCommentLinesAreListed) {
    form.firmwareFileName = testing::dataFile("good_plain.hex");
    bbHelpClick(form, help);
    ASSERT_TRUE(::IsWindowVisible(helpWindow.handle()));
    EXPECT_EQ(::SendMessageW(helpWindow.memo(), EM_GETLINECOUNT, 0, 0), 3);
    ::PostMessageW(helpWindow.memo(), WM_KEYDOWN, VK_ESCAPE, 0);
    settle();
    settle();
    EXPECT_FALSE(help.visible());
    EXPECT_FALSE(::IsWindowVisible(helpWindow.handle()));
}

const std::vector<serial::PresentPort> kPorts = {{2, "\\\\.\\COM2", false, "", ""},
                                                 {9, "\\\\.\\COM9", false, "", ""},
                                                 {10, "\\\\.\\COM10", true, "", ""}};

// What the dialog showed, and the button pressed once it was up.
struct DialogVisit {
    int pressButton = IDOK;
    int chooseItem = 0;
    std::string caption;
    std::vector<std::string> items;
    int selected = -2;
};

HWND dialogOfThread(DWORD thread) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) {
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

// The dialog of `thread`'s modal loop once it is shown (nothing after five seconds).
HWND waitForDialogOf(DWORD thread) {
    HWND dialog = nullptr;
    for (int wait = 0; wait < 200 && !dialog; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        dialog = dialogOfThread(thread);
    }
    return dialog;
}

// Waits on a thread of its own for the dialog of this thread's modal loop, reads it, selects
// an item and presses a button.
std::jthread visitTheDialogWhenShown(DialogVisit& visit) {
    return std::jthread([&visit, thread = ::GetCurrentThreadId()] {
        HWND dialog = waitForDialogOf(thread);
        if (!dialog) return;
        wchar_t text[128] = {};
        ::GetWindowTextW(dialog, text, 128);
        visit.caption = win32::narrow(text);
        HWND list = ::GetDlgItem(dialog, CANPROG_PORT_LIST);
        const auto count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(text));
            visit.items.push_back(win32::narrow(text));
        }
        visit.selected = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(visit.chooseItem), 0);
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(visit.pressButton, BN_CLICKED), 0);
    });
}

TEST(Win32PortDialog, ListsThePortsAndGivesTheChoiceOnOk) {
    DialogVisit visit;
    visit.chooseItem = 2;
    std::jthread visitor = visitTheDialogWhenShown(visit);
    EXPECT_EQ(TComSelectForm::choose(nullptr, kPorts), 10);
    visitor.join();
    EXPECT_EQ(visit.caption, "Select Port");
    EXPECT_EQ(visit.items, (std::vector<std::string>{"COM2", "COM9", "COM10"}));
    EXPECT_EQ(visit.selected, 0);
}

TEST(Win32PortDialog, CancelMakesTheOpenFail) {
    DialogVisit visit;
    visit.pressButton = IDCANCEL;
    serial::TSlioComPort port;
    port.SetPortPrompt([] { return TComSelectForm::choose(nullptr, kPorts); });
    std::jthread visitor = visitTheDialogWhenShown(visit);
    EXPECT_THROW(port.SetOpen(true), serial::ENoPortSelected);
    visitor.join();
    EXPECT_FALSE(port.Open());
}

// A search over three files, one of them broken, as the operations would fill it.
class ThreeFiles : public FirmwareSearch {
  public:
    std::string folder() const override { return "C:\\firmware"; }
    void setFolder(const std::string&) override {}
    std::string searchText() const override { return text_; }
    void setSearchText(const std::string& text) override {
        text_ = text;
        rows_.clear();
        for (const Row& row : all_) {
            if (row.text.find(text) != std::string::npos) rows_.push_back(row);
        }
    }
    const std::vector<Row>& rows() const override { return rows_; }
    std::string caption(WindowText text) const override {
        return std::string(windowText(text, Language::English));
    }

  private:
    std::string text_;
    std::vector<Row> all_ = {{"broken.hex: not a firmware file that loads (line 3)", "b", false},
                             {"sedan.hexfw — DEMO 2.00 — 11 Demo sedan", "C:\\s.hexfw", true},
                             {"van.hexfw — DEMO 2.00 — 13 Demo van", "C:\\v.hexfw", true}};
    std::vector<Row> rows_ = all_;
};

// The firmware library's window: its texts in the window's language, a search typed narrows
// the list, a broken file cannot be used, and Enter (the default button) uses the file chosen.
TEST(Win32FindFirmwareDialog, TheSearchNarrowsTheListAndEnterUsesTheFile) {
    ThreeFiles search;
    std::string caption;
    std::string useButton;
    std::vector<int> counts;
    bool useEnabledOnBroken = true;
    std::jthread visitor([&, thread = ::GetCurrentThreadId()] {
        HWND dialog = waitForDialogOf(thread);
        if (!dialog) return;
        wchar_t text[128] = {};
        ::GetWindowTextW(dialog, text, 128);
        caption = win32::narrow(text);
        ::GetDlgItemTextW(dialog, IDOK, text, 128);
        useButton = win32::narrow(text);
        HWND rows = ::GetDlgItem(dialog, CANPROG_FIND_ROWS);
        useEnabledOnBroken = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK));  // row 0: broken
        counts.push_back(static_cast<int>(::SendMessageW(rows, LB_GETCOUNT, 0, 0)));
        ::SetDlgItemTextW(dialog, CANPROG_FIND_SEARCH, L"van");
        counts.push_back(static_cast<int>(::SendMessageW(rows, LB_GETCOUNT, 0, 0)));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(win32window::FirmwareFinderDialog::choose(nullptr, search), "C:\\v.hexfw");
    visitor.join();
    EXPECT_EQ(caption, "Find firmware");
    EXPECT_EQ(useButton, "Use this file");
    EXPECT_FALSE(useEnabledOnBroken);
    EXPECT_EQ(counts, (std::vector<int>{3, 1}));
}

}  // namespace
}  // namespace canprog
