#include "TfrmMain.h"

#include <commctrl.h>
#include <oleacc.h>
#include <uxtheme.h>

#include <windowsx.h>
#include <optional>
#include <stdexcept>

#include "ControlSync.h"
#include "Dpi.h"
#include "ErrorDisplay.h"
#include "Resources.h"
#include "WindowClass.h"
#include "base/win32/WideText.h"
#include "model/AccessibleNames.h"
#include "model/BrandTable.h"
#include "model/RadioGroups.h"

namespace canprog::win32window {

namespace {

constexpr wchar_t kMainClass[] = L"canprog.frmMain";
constexpr wchar_t kPageClass[] = L"canprog.TabSheet";
// A fixed single border with a minimise box only.
constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kPageCount = 2;
constexpr COLORREF kFileNameColour = RGB(0, 0, 255);
constexpr std::size_t kPinLength = 4;
constexpr int kOpenPortListWidth = 240;
// The tab control's own margins around a tab's text at 96 dpi.
constexpr SIZE kTabPadding{6, 3};
// The timer that closes the window once the operation it stopped has ended.
constexpr UINT_PTR kCloseWhenIdleTimer = 1;
constexpr UINT kCloseWhenIdle_ms = 20;
constexpr UINT_PTR kReadOnlyMemoSubclass = 0x4D45;
constexpr UINT_PTR kOutsideChecksSubclass = 0x4348;

// A read-only memo does not keep Tab for itself: Tab and Shift+Tab move on to the next
// control, as everywhere else in the window.
LRESULT CALLBACK letTabLeave(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        return ::DefSubclassProc(memo, message, wParam, lParam) &
               ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(memo, letTabLeave, kReadOnlyMemoSubclass);
    return ::DefSubclassProc(memo, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance, WNDPROC mainProc, WNDPROC pageProc) {
    const auto smallIcon = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), 0));
    registerWindowClass(instance, kMainClass, mainProc, ::LoadIconW(instance, MAKEINTRESOURCEW(1)),
                        smallIcon);
    registerWindowClass(instance, kPageClass, pageProc);
}

int pageNumber(Page page) {
    return page == Page::Programming ? 0 : page == Page::Parameters ? 1 : 2;
}

// What a screen reader calls each kind of control.
long roleOf(Kind kind) {
    switch (kind) {
        case Kind::Group: return ROLE_SYSTEM_GROUPING;
        case Kind::Button:
        case Kind::Logo: return ROLE_SYSTEM_PUSHBUTTON;
        case Kind::Radio: return ROLE_SYSTEM_RADIOBUTTON;
        case Kind::Check: return ROLE_SYSTEM_CHECKBUTTON;
        case Kind::Edit:
        case Kind::ReadOnly:
        case Kind::Status:
        case Kind::Memo: return ROLE_SYSTEM_TEXT;
        case Kind::List: return ROLE_SYSTEM_COMBOBOX;
        case Kind::Progress: return ROLE_SYSTEM_PROGRESSBAR;
        case Kind::Spin: return ROLE_SYSTEM_SPINBUTTON;
        case Kind::Page: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

std::optional<Ctl> controlOfId(int id) {
    const int at = id - kFirstControlId;
    if (at < 0 || at >= static_cast<int>(kControlCount)) return std::nullopt;
    return static_cast<Ctl>(at);
}

// Sets a flag for as long as it lives.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = before_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool before_;
};

std::wstring textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

TfrmMain::TfrmMain(MainForm& form, HINSTANCE instance) : form_(form), instance_(instance) {
    registerClasses(instance_, windowProc, pageProc);
    for (const Place& place : windowLayout()) places_[index(place.id)] = &place;
    createWindow();
    createChildren();
    describeForScreenReaders();
    addToolTips();
    layOut();
    showEverything();
    showPage(0);
    form_.addListener(this);
}

// What a screen reader says for each control: the model's names, in the current language.
void TfrmMain::describeForScreenReaders() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Ctl>(i);
        if (!controls_[i] || places_[i]->kind == Kind::Page) continue;
        ScreenReaderText& text = readerTexts_[i];
        text.name = [this, id] { return win32::widen(accessibleName(form_, id)); };
        text.description = [this, id] { return win32::widen(accessibleDescription(form_, id)); };
        if (places_[i]->kind == Kind::Spin) {
            // The up-down control's parts: its upper and its lower arrow.
            text.partName = [this](long part) {
                return win32::widen(
                    spinArrowName(form_, part == 1 ? MainForm::Arrow::Up : MainForm::Arrow::Down));
            };
        }
        text.role = roleOf(places_[i]->kind);
        text.pushButton = places_[i]->kind == Kind::Logo;
        giveScreenReaderText(controls_[i], &text);
    }
}

void TfrmMain::focusFirstControl() {
    lastFocus_ = control(Ctl::bbOpen);
    ::SetFocus(lastFocus_);
}

// After the file dialog the focus goes to "Write" when a file was chosen, so that Enter
// writes it; otherwise back to "Open file".
void TfrmMain::focusAfterFileChoice() {
    lastFocus_ = control(form_.enabled(Ctl::bbUpload) ? Ctl::bbUpload : Ctl::bbOpen);
    ::SetFocus(lastFocus_);
}

bool TfrmMain::takeShortcut(const MSG& message) {
    if (!window_ || message.message != WM_KEYDOWN) return false;
    const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (message.wParam == VK_TAB && control && ::IsChild(window_, message.hwnd)) {
        const bool back = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        showPage((currentPage() + (back ? kPageCount - 1 : 1)) % kPageCount);
        ::SetFocus(
            ::GetNextDlgTabItem(pages_[static_cast<std::size_t>(currentPage())], nullptr, FALSE));
        return true;
    }
    if ((message.wParam == VK_UP || message.wParam == VK_DOWN) &&
        (message.hwnd == this->control(Ctl::MaskEdit1) ||
         message.hwnd == this->control(Ctl::MaskEdit2))) {
        form_.spinClick(
            message.hwnd == this->control(Ctl::MaskEdit1) ? Ctl::SpinButton1 : Ctl::SpinButton2,
            message.wParam == VK_UP ? MainForm::Arrow::Up : MainForm::Arrow::Down);
        return true;
    }
    return false;
}

TfrmMain::~TfrmMain() {
    form_.removeListener(this);
    quitOnDestroy_ = false;  // the owner ends the window, not the user
    if (window_) ::DestroyWindow(window_);
}

void TfrmMain::createWindow() {
    ::CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, L"", kMainStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, kClientWidth, kClientHeight, nullptr, nullptr, instance_,
                      this);
    if (!window_) throw std::runtime_error("The main window cannot be created.");
    dpi_ = dpiOf(window_);
    font_ = windowFont(dpi_);
}

void TfrmMain::createChildren() {
    tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM | TCS_TABS, 0, 0,
                              kClientWidth, kClientHeight, window_, nullptr, instance_, nullptr);
    // The visual style draws tabs at the top only; the classic look draws them at the bottom.
    ::SetWindowTheme(tabs_, L"", L"");
    for (int page = 0; page < kPageCount; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(page),
                       reinterpret_cast<LPARAM>(&item));
    }
    for (int page = 0; page < static_cast<int>(pages_.size()); ++page) {
        pages_[static_cast<std::size_t>(page)] =
            ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0,
                              0, 0, 0, window_, nullptr, instance_, this);
    }
    for (const Place& place : windowLayout()) {
        if (place.kind == Kind::Page) {
            controls_[index(place.id)] = pages_[static_cast<std::size_t>(pageNumber(place.page))];
            continue;
        }
        controls_[index(place.id)] =
            createControl(place, pages_[static_cast<std::size_t>(pageNumber(place.page))], dpi_);
        if (place.kind == Kind::Memo) {
            ::SetWindowSubclass(control(place.id), letTabLeave, kReadOnlyMemoSubclass, 0);
        }
    }
    // The PIN takes four digits at most, as its mask does in the Linux window, and digits only.
    ::SendMessageW(control(Ctl::PIN), EM_LIMITTEXT, kPinLength, 0);
    ::SetWindowLongPtrW(control(Ctl::PIN), GWL_STYLE,
                        ::GetWindowLongPtrW(control(Ctl::PIN), GWL_STYLE) | ES_NUMBER);
    markRadioGroups();
    for (const Place& place : windowLayout()) {
        if (place.kind == Kind::Radio || place.kind == Kind::Check) {
            ::SetWindowSubclass(control(place.id), forwardOutsideChecks, kOutsideChecksSubclass,
                                reinterpret_cast<DWORD_PTR>(this));
        }
    }
}

// Each group of radio buttons starts a dialog group that the next control ends: the arrow keys
// move inside it (a radio button that gets the focus reports a click), and Tab stops at its
// checked button only (see keepOneTabStop).
void TfrmMain::markRadioGroups() {
    std::span<const Ctl> group;
    for (const Place& place : windowLayout()) {
        if (place.kind == Kind::Page || place.kind == Kind::Group) continue;
        HWND child = control(place.id);
        if (!child) continue;
        const auto style = ::GetWindowLongPtrW(child, GWL_STYLE);
        const auto itsGroup =
            place.kind == Kind::Radio ? radioGroupOf(place.id) : std::span<const Ctl>();
        const bool startsGroup = itsGroup.empty() || itsGroup.data() != group.data();
        ::SetWindowLongPtrW(child, GWL_STYLE, startsGroup ? style | WS_GROUP : style & ~WS_GROUP);
        group = itsGroup;
    }
}

void TfrmMain::keepOneTabStop(Ctl checked) {
    for (Ctl id : radioGroupOf(checked)) {
        HWND button = control(id);
        if (!button) continue;
        const auto style = ::GetWindowLongPtrW(button, GWL_STYLE);
        ::SetWindowLongPtrW(button, GWL_STYLE,
                            form_.checked(id) ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

// A check set from outside the window (an assistive tool's BM_SETCHECK) reaches the model as a
// click does, and the control then shows what the model decided.
LRESULT CALLBACK TfrmMain::forwardOutsideChecks(HWND control, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, forwardOutsideChecks, kOutsideChecksSubclass);
    }
    const LRESULT result = ::DefSubclassProc(control, message, wParam, lParam);
    if (message == BM_SETCHECK) {
        reinterpret_cast<TfrmMain*>(self)->checkedFromOutside(control, wParam == BST_CHECKED);
    }
    // A radio button that the arrow keys give the focus to is chosen, as a standard radio
    // button reports a click when it gets the focus without the mouse.
    if (message == WM_SETFOCUS && ::GetCapture() != control &&
        (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) {
        reinterpret_cast<TfrmMain*>(self)->checkedFromOutside(control, true);
    }
    return result;
}

void TfrmMain::checkedFromOutside(HWND button, bool checked) {
    if (showingModel_) return;
    const auto id = controlOfId(::GetDlgCtrlID(button));
    if (!id) return;
    if (checked != form_.checked(*id) && (checked || isCheckBox(*id))) form_.click(*id);
    const ScopedFlag showing(showingModel_);
    showState(button, places_[index(*id)]->kind, form_.control(*id), Change::Checked);
}

void TfrmMain::addToolTips() {
    toolTips_ =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    for (const Brand& brand : brands()) {
        if (brand.webAddress.empty() || brand.toolTip.empty()) continue;
        toolTipTexts_.push_back(win32::widen(brand.toolTip));
        HWND logo = control(brand.logo);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(logo);
        tool.uId = reinterpret_cast<UINT_PTR>(logo);
        tool.lpszText = toolTipTexts_.back().data();
        ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Sizes the window, its tab control and pages, and places every control at the window's dpi.
void TfrmMain::layOut() {
    RECT outer{0, 0, scaled(kClientWidth, dpi_), scaled(kClientHeight, dpi_)};
    ::AdjustWindowRectExForDpi(&outer, kMainStyle, FALSE, WS_EX_CONTROLPARENT, dpi_);
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const auto setFont = [this](HWND child) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    };
    RECT client;
    ::GetClientRect(window_, &client);
    ::MoveWindow(tabs_, 0, 0, client.right, client.bottom, TRUE);
    // The tabs' margins around their texts grow with the scale, as the texts do.
    ::SendMessageW(tabs_, TCM_SETPADDING, 0,
                   MAKELPARAM(scaled(kTabPadding.cx, dpi_), scaled(kTabPadding.cy, dpi_)));
    setFont(tabs_);
    RECT display = client;
    ::SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (HWND page : pages_) {
        ::SetWindowPos(page, HWND_TOP, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOACTIVATE);
    }
    for (const Place& place : windowLayout()) {
        HWND child = control(place.id);
        if (place.kind == Kind::Page || !child) continue;
        const RECT at = placeOnPage(place, dpi_);
        ::MoveWindow(child, at.left, at.top, at.right - at.left, at.bottom - at.top, TRUE);
        setFont(child);
    }
    ::SendMessageW(toolTips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    // The open port list shows whole entries ("COM17 — FT232R USB UART").
    ::SendMessageW(control(Ctl::cbPort), CB_SETDROPPEDWIDTH,
                   static_cast<WPARAM>(scaled(kOpenPortListWidth, dpi_)), 0);
}

void TfrmMain::showEverything() {
    const ScopedFlag showing(showingModel_);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Ctl>(i);
        if (places_[i]->kind == Kind::Page) continue;
        showAll(controls_[i], places_[i]->kind, form_.control(id));
    }
    showTabCaption(0);
    showTabCaption(1);
    windowCaptionChanged();
    for (const Place& place : windowLayout()) {
        if (place.kind == Kind::Radio) keepOneTabStop(place.id);
    }
}

void TfrmMain::showTabCaption(int page) {
    const std::wstring caption =
        captionText(form_.text(page == 0 ? Ctl::TabSheet1 : Ctl::TabSheet2));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    ::SendMessageW(tabs_, TCM_SETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
}

void TfrmMain::showPage(int page) {
    ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int i = 0; i < kPageCount; ++i)
        ::ShowWindow(pages_[static_cast<std::size_t>(i)], i == page ? SW_SHOW : SW_HIDE);
}

int TfrmMain::currentPage() const {
    return static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

void TfrmMain::centreOnScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame;
    ::GetWindowRect(window_, &frame);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- the model's changes ---

void TfrmMain::controlChanged(Ctl id, Change what) {
    if (!window_) return;  // the window is gone while an operation ends
    if (id == Ctl::TabSheet1 || id == Ctl::TabSheet2) {
        if (what == Change::Text) showTabCaption(id == Ctl::TabSheet1 ? 0 : 1);
        return;
    }
    const ScopedFlag showing(showingModel_);
    showState(control(id), places_[index(id)]->kind, form_.control(id), what);
    if (what == Change::Checked && places_[index(id)]->kind == Kind::Radio) keepOneTabStop(id);
}

void TfrmMain::windowCaptionChanged() {
    if (window_) ::SetWindowTextW(window_, win32::widen(form_.windowCaption()).c_str());
}

// --- the user's actions ---

void TfrmMain::onCommand(int id, int code) {
    const auto target = controlOfId(id);
    if (!target) return;
    const Ctl ctl = *target;
    switch (places_[index(ctl)]->kind) {
        case Kind::Button:
        case Kind::Radio:
        case Kind::Check:
            if (code == BN_CLICKED) form_.click(ctl);
            if (code == BN_CLICKED && ctl == Ctl::bbOpen) focusAfterFileChoice();
            break;
        case Kind::Logo:
            if (code == STN_CLICKED) form_.click(ctl);
            break;
        case Kind::Edit:
            if (code == EN_CHANGE && !showingModel_)
                form_.setText(ctl, win32::narrow(textOf(control(ctl))));
            break;
        case Kind::List:
            // The entries are read again each time the list opens.
            if (code == CBN_DROPDOWN) form_.click(ctl);
            if (code == CBN_SELCHANGE) {
                const auto item = ::SendMessageW(control(ctl), CB_GETCURSEL, 0, 0);
                if (item >= 0) form_.selectPort(static_cast<int>(item));
            }
            break;
        default: break;
    }
}

LRESULT TfrmMain::onNotify(const NMHDR& header) {
    if (header.hwndFrom == tabs_ && header.code == TCN_SELCHANGE) {
        showPage(currentPage());
        return 0;
    }
    if (header.code == UDN_DELTAPOS) {
        const auto target = controlOfId(static_cast<int>(header.idFrom));
        if (!target) return 0;
        const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
        form_.spinClick(*target, change.iDelta > 0 ? MainForm::Arrow::Up : MainForm::Arrow::Down);
        return TRUE;  // the position stays where it is
    }
    return 0;
}

bool TfrmMain::clickOnLanguageFrame(HWND page, POINT at) const {
    HWND frame = control(Ctl::RadioGroup1);
    if (::GetParent(frame) != page || !::IsWindowVisible(frame)) return false;
    RECT area;
    ::GetWindowRect(frame, &area);
    ::MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&area), 2);
    return ::PtInRect(&area, at) != FALSE;
}

LRESULT TfrmMain::onControlColour(HDC dc, HWND control, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
    const LRESULT brush = ::DefWindowProcW(window_, message, wParam, lParam);
    if (control == this->control(Ctl::Edit2)) ::SetTextColor(dc, kFileNameColour);
    return brush;
}

// A running operation is cancelled: it ends at its next frame, writes its notes and closes the
// port while the window still shows them; what it said since is shown, then the window goes and
// the program ends.
void TfrmMain::close() {
    if (closing_) return;
    if (!form_.operationRunning()) {
        ::DestroyWindow(window_);
        return;
    }
    closing_ = true;
    if (!asking_) linesAtStop_ = form_.logLines().size();
    form_.Button1Click();
    ::SetTimer(window_, kCloseWhenIdleTimer, kCloseWhenIdle_ms, nullptr);
}

void TfrmMain::showOutcome() {
    std::string outcome;
    const auto& lines = form_.logLines();
    for (std::size_t i = std::min(linesAtStop_, lines.size()); i < lines.size(); ++i) {
        outcome += (outcome.empty() ? "" : "\n") + lines[i];
    }
    if (outcome.empty()) return;
    // Standard error too, for a window started from a console or with its output kept.
    if (HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
        errors && errors != INVALID_HANDLE_VALUE) {
        const std::string text = outcome + "\n";
        DWORD written = 0;
        ::WriteFile(errors, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    if (outcomeDisplay_) {
        outcomeDisplay_(outcome);
        return;
    }
    ::MessageBoxW(window_, win32::widen(outcome).c_str(),
                  win32::widen(form_.windowCaption()).c_str(), MB_OK | MB_ICONINFORMATION);
}

// The question and its answers in the window's language, No the default. It has no loop of
// its own: the write's frames keep going while it is open.
void TfrmMain::askToStop(WindowText question) {
    asking_ = true;
    linesAtStop_ = form_.logLines().size();
    const std::string text = form_.windowText(question);
    if (stopQuestion_) {
        stopQuestion_(text, [this](bool stop) { answerToStop(stop); });
        return;
    }
    questionDialog_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(CANPROG_QUESTION_DIALOG),
                                           window_, questionProc, reinterpret_cast<LPARAM>(this));
    if (!questionDialog_) {
        answerToStop(false);  // no dialog: the write goes on
        return;
    }
    ::SetWindowTextW(questionDialog_, win32::widen(form_.windowCaption()).c_str());
    ::SetDlgItemTextW(questionDialog_, CANPROG_QUESTION_TEXT, win32::widen(text).c_str());
    ::SetDlgItemTextW(questionDialog_, IDYES,
                      captionText(form_.windowText(WindowText::Yes)).c_str());
    ::SetDlgItemTextW(questionDialog_, IDNO, captionText(form_.windowText(WindowText::No)).c_str());
    ::ShowWindow(questionDialog_, SW_SHOW);
    ::SetFocus(::GetDlgItem(questionDialog_, IDNO));
}

INT_PTR CALLBACK TfrmMain::questionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;  // the focus is given once the texts are set
    }
    auto* self = reinterpret_cast<TfrmMain*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_COMMAND && self) {
        const int answer = LOWORD(wParam);
        if (answer == IDYES || answer == IDNO || answer == IDCANCEL) {
            ::DestroyWindow(dialog);
            self->questionDialog_ = nullptr;
            self->answerToStop(answer == IDYES);
            return TRUE;
        }
    }
    return FALSE;
}

void TfrmMain::answerToStop(bool stop) {
    asking_ = false;
    if (!stop) return;  // the write simply went on
    if (!form_.operationRunning()) {
        ::DestroyWindow(window_);  // nothing left to stop
        return;
    }
    close();
}

void TfrmMain::startDrag(POINT at) {
    RECT frame;
    ::GetWindowRect(window_, &frame);
    dragOffset_ = {at.x - frame.left, at.y - frame.top};
    dragging_ = true;
    ::SetCapture(window_);
}

void TfrmMain::drag(POINT at) {
    ::SetWindowPos(window_, nullptr, at.x - dragOffset_.x, at.y - dragOffset_.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::showError(const std::string& message) {
    if (errorDisplay_) {
        errorDisplay_(message);
        return;
    }
    ::MessageBoxW(window_, win32::widen(message).c_str(),
                  win32::widen(form_.applicationTitle()).c_str(), MB_OK | MB_ICONERROR);
}

// --- window procedures ---

LRESULT CALLBACK TfrmMain::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TfrmMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return guarded(window, [&] { return self->onMessage(message, wParam, lParam); });
}

LRESULT CALLBACK TfrmMain::pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            page, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<TfrmMain*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(page, message, wParam, lParam);
    return guarded(page, [&] { return self->onPageMessage(page, message, wParam, lParam); });
}

LRESULT TfrmMain::onPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // The controls tell their page; the main window answers for all of them.
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN: return onMessage(message, wParam, lParam);
        case WM_LBUTTONUP: {
            // A click on the language frame itself (its title or border) re-applies the
            // language; the frame lets clicks through to the page.
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (clickOnLanguageFrame(page, at)) form_.click(Ctl::RadioGroup1);
            return 0;
        }
        default: return ::DefWindowProcW(page, message, wParam, lParam);
    }
}

LRESULT TfrmMain::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                   message, wParam, lParam);
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            font_ = windowFont(dpi_);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            layOut();
            ::InvalidateRect(window_, nullptr, TRUE);
            return 0;
        }
        case kShowErrorMessage:
            showError(*reinterpret_cast<const std::string*>(lParam));
            return TRUE;
        case WM_CLOSE:
            // A write in progress is not stopped unasked: it would leave the module partly
            // written. The question does not hold the write: it goes on while the window asks.
            if (const auto question = form_.closeQuestion(); question && !closing_) {
                if (!asking_) askToStop(*question);
                return 0;
            }
            close();
            return 0;
        case WM_TIMER:
            if (wParam == kCloseWhenIdleTimer && !form_.operationRunning()) {
                ::KillTimer(window_, kCloseWhenIdleTimer);
                showOutcome();
                ::DestroyWindow(window_);
            }
            return 0;
        case WM_SYSCOMMAND:
            // While an operation runs the system's modal loops would hold its frames: the
            // window is moved without one, and the system menu waits until it has ended.
            if (form_.operationRunning()) {
                const WPARAM command = wParam & 0xFFF0;
                if (command == SC_MOVE && (wParam & 0x000F) != 0) {
                    startDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                    return 0;
                }
                if (command == SC_MOVE || command == SC_SIZE || command == SC_KEYMENU ||
                    command == SC_MOUSEMENU) {
                    return 0;
                }
            }
            return ::DefWindowProcW(window_, message, wParam, lParam);
        case WM_MOUSEMOVE:
            if (dragging_) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ::ClientToScreen(window_, &at);
                drag(at);
            }
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) ::ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED: dragging_ = false; return 0;
        case WM_ACTIVATE:
            // The focus a plain window loses to a dialog or another program comes back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focus = ::GetFocus(); focus && ::IsChild(window_, focus))
                    lastFocus_ = focus;
            } else if (lastFocus_ && ::IsWindow(lastFocus_)) {
                ::SetFocus(lastFocus_);
            }
            return 0;
        case WM_DESTROY:
            if (quitOnDestroy_) ::PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = ::DefWindowProcW(window_, message, wParam, lParam);
            window_ = nullptr;
            tabs_ = nullptr;
            toolTips_ = nullptr;
            pages_.fill(nullptr);
            controls_.fill(nullptr);
            return result;
        }
        default: return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace canprog::win32window
