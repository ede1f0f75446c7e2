#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "GdiHandle.h"
#include "Layout.h"
#include "ScreenReaderText.h"
#include "model/MainForm.h"

namespace canprog::win32window {

// The main window on Windows: renders the MainForm model with Win32 common controls and
// forwards the user's clicks to its handlers, as the Qt window does on Linux.
class TfrmMain : public ModelListener {
  public:
    TfrmMain(MainForm& form, HINSTANCE instance);
    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    HWND handle() const { return window_; }
    HWND control(Ctl id) const { return controls_[index(id)]; }
    HWND tabs() const { return tabs_; }
    UINT dpi() const { return dpi_; }
    HFONT font() const { return font_.get(); }

    // Brings a tab's page to the front: 0 programming, 1 operating parameters.
    void showPage(int page);
    int currentPage() const;
    // Places the window in the middle of its monitor's work area.
    void centreOnScreen();
    // Replaces the message box that shows an error which reached the window (for tests).
    void setErrorDisplay(std::function<void(const std::string&)> display) {
        errorDisplay_ = std::move(display);
    }
    // How the question before a write is stopped by closing the window is asked: with its
    // text, and a function to call with the answer (true: stop) whenever it is given. The
    // write goes on meanwhile. Replaced by tests; the window's own asks with a modeless
    // dialog.
    using StopQuestion =
        std::function<void(const std::string& question, std::function<void(bool)> answer)>;
    void setStopQuestion(StopQuestion ask) { stopQuestion_ = std::move(ask); }
    // Shows how an operation stopped by closing the window ended, before the window goes (for
    // tests; the window's own shows a message box). The same text goes to standard error.
    void setOutcomeDisplay(std::function<void(const std::string&)> show) {
        outcomeDisplay_ = std::move(show);
    }
    // The question's dialog while it is open (for tests).
    HWND questionDialog() const { return questionDialog_; }
    // The keys the window takes before the dialog navigation: Ctrl+Tab and Ctrl+Shift+Tab
    // between the pages, the arrow keys in a CAN program field. True when it took `message`.
    bool takeShortcut(const MSG& message);
    // Gives the first control the focus: "Open file".
    void focusFirstControl();

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    void createWindow();
    void createChildren();
    void addToolTips();
    void layOut();
    void showEverything();
    void showTabCaption(int page);
    void onCommand(int id, int code);
    LRESULT onNotify(const NMHDR& header);
    LRESULT onControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool clickOnLanguageFrame(HWND page, POINT at) const;
    void showError(const std::string& message);
    void describeForScreenReaders();
    void focusAfterFileChoice();
    void askToStop(WindowText question);
    void answerToStop(bool stop);
    static INT_PTR CALLBACK questionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void close();
    void showOutcome();
    // Moves the window with the mouse without the system's move loop, which would hold a
    // running operation's frames for as long as the button is down.
    void startDrag(POINT at);
    void drag(POINT at);
    void markRadioGroups();
    void keepOneTabStop(Ctl checked);
    static LRESULT CALLBACK forwardOutsideChecks(HWND control, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void checkedFromOutside(HWND control, bool checked);

    void controlChanged(Ctl id, Change what) override;
    void windowCaptionChanged() override;

    MainForm& form_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tabs_ = nullptr;
    HWND toolTips_ = nullptr;
    std::array<HWND, 3> pages_{};  // programming, parameters, and one never shown
    std::array<HWND, kControlCount> controls_{};
    std::array<const Place*, kControlCount> places_{};
    std::vector<std::wstring> toolTipTexts_;
    UINT dpi_ = 96;
    FontHandle font_;
    bool showingModel_ = false;
    bool quitOnDestroy_ = true;  // edits report our own changes too; those are not the user's
    std::function<void(const std::string&)> errorDisplay_;
    StopQuestion stopQuestion_;
    std::function<void(const std::string&)> outcomeDisplay_;
    HWND questionDialog_ = nullptr;
    bool asking_ = false;          // the stop question is open
    std::size_t linesAtStop_ = 0;  // the log's length when the window was told to close
    bool dragging_ = false;
    POINT dragOffset_{};  // from the window's corner to the cursor
    std::array<ScreenReaderText, kControlCount> readerTexts_{};
    HWND lastFocus_ = nullptr;  // given back when the window is activated again
    bool closing_ = false;      // closed during an operation: gone once it has ended
};

}  // namespace canprog::win32window
