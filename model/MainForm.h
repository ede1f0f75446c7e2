#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ControlState.h"
#include "Controls.h"
#include "ExtraMessages.h"
#include "WindowTexts.h"
#include "firmware/FirmwareImages.h"
#include "serial/SlSelCom.h"
#include "wait/Countdown.h"

namespace canprog {

class PlatformShell;

// Told of every change of the main window's state, so that a front end can show
// it.
class ModelListener {
  public:
    virtual ~ModelListener() = default;
    virtual void controlChanged(Ctl /*control*/, Change /*what*/) {}
    virtual void windowCaptionChanged() {}
    virtual void applicationTitleChanged() {}
};

// What an operation does to the module, for what closing the window must ask.
enum class OperationKind { Read, FirmwareWrite, ParameterWrite };

// The main window's client area: 459 x 324 as it was made, 26 pixels higher for
// the row of buttons that save the settings to a file and open them again.
inline constexpr int kClientWidth = 459;
inline constexpr int kClientHeight = 350;

inline constexpr std::size_t kMessageTableSize = 18;
inline constexpr std::size_t kBrandAddressEntry = 17;
inline constexpr int kPortCount = 12;

// The main window as the operations see it: every control's state, the message
// table and the shared state, with the shell's own handlers. Toolkit-free; the
// Qt window renders it and forwards clicks to it, the command-line front end
// prints it.
class MainForm {
  public:
    using ClockFunction = std::function<SteadyClock::time_point()>;

    explicit MainForm(PlatformShell& shell, ClockFunction clock = SteadyClock::now);

    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // --- listeners ---
    void addListener(ModelListener* listener);
    void removeListener(ModelListener* listener);

    // --- controls ---
    const ControlState& control(Ctl id) const { return controls_[index(id)]; }
    const std::string& text(Ctl id) const { return control(id).text; }
    bool checked(Ctl id) const { return control(id).checked; }
    bool enabled(Ctl id) const { return control(id).enabled; }
    bool visible(Ctl id) const { return control(id).visible; }

    void setText(Ctl id, std::string text);
    void setEnabled(Ctl id, bool enabled);
    void setVisible(Ctl id, bool visible);
    // Checks or unchecks a radio button or check box. A radio button that becomes
    // checked unchecks the others of its group and runs its click behaviour; a
    // check box runs its click behaviour on every change.
    void setChecked(Ctl id, bool checked);
    void setProgressRange(Ctl id, int minimum, int maximum);
    void setProgressMinimum(Ctl id, int minimum);
    void setProgressMaximum(Ctl id, int maximum);
    void setProgressPosition(Ctl id, int position);
    void clearLines(Ctl memo);
    void addLine(Ctl memo, std::string line);

    // Binds the click behaviour of a control; a later binding replaces an earlier
    // one.
    void bindClick(Ctl id, std::function<void()> handler);
    // A click on a button, radio button, check box, group frame or image.
    void click(Ctl id);

    // Spin buttons have two arrows, each with its own behaviour.
    enum class Arrow { Down, Up };
    void bindSpin(Ctl id, Arrow arrow, std::function<void()> handler);
    void spinClick(Ctl id, Arrow arrow);

    // The port list: "COM1" to "COM12" in that order, each with what the system
    // calls the device there now once the list has been read, then every port
    // above 12 that exists.
    int selectedPortIndex() const { return control(Ctl::cbPort).position; }
    // The number of the port the selected entry names: what the port component
    // opens.
    int selectedPortNumber() const;
    void selectPort(int itemIndex);
    // Selects the entry of port `number`, adding one for it after the others when
    // the list has none (a port above 12 named on the command line).
    void selectPortNumber(int number);
    // Shows the ports that exist now, the same port staying selected.
    void showPorts(const std::vector<serial::PresentPort>& present);

    // --- window and application ---
    const std::string& windowCaption() const { return windowCaption_; }
    const std::string& applicationTitle() const { return applicationTitle_; }
    void setWindowCaption(std::string caption);
    void setApplicationTitle(std::string title);

    // --- message table and log ---
    const std::string& message(std::size_t index) const { return messages_.at(index); }
    const std::string& brandWebAddress() const { return messages_[kBrandAddressEntry]; }
    // Appends message-table entry `index` as one line of meLog.
    void logMessage(std::size_t index);
    // The same, and shows the text in the parameters page's status line Edit3
    // too.
    void logMessageAndShow(std::size_t index);
    void log(std::string line) { addLine(Ctl::meLog, std::move(line)); }
    const std::vector<std::string>& logLines() const { return control(Ctl::meLog).lines; }
    // A text of the window's own additions in the current language.
    std::string windowText(WindowText text) const;
    // One of our own lines in the current language, its values filled in.
    std::string extraMessage(
        Extra line, const std::vector<std::pair<std::string_view, std::string>>& values = {}) const;
    // Appends one of our own lines to meLog as a note: what happened and what to
    // do, beyond the window's messages. Listeners can tell a note from the other
    // lines while it is added.
    void logNote(Extra line,
                 const std::vector<std::pair<std::string_view, std::string>>& values = {});
    // The same, and the parameters page's status line says it too, whole: under
    // what it shows (a time-out, a Cancel) or in its place.
    enum class ShowNote { BelowStatus, InsteadOfStatus };
    void logNoteAndShow(Extra line,
                        const std::vector<std::pair<std::string_view, std::string>>& values,
                        ShowNote show);
    bool addingNote() const { return addingNote_; }

    // --- shared state ---
    std::string firmwareFileName;
    char languageCode = '0';
    unsigned char canProgramNumber = 11;
    std::uint8_t linkKey = 0xB7;
    FirmwareImages images;

    // The file-open dialog's settings, as the file choice last set them.
    std::string openDialogFilter = "Plik HEX (*.hex)|*.hex";
    std::string openDialogDefaultExtension = "*.hex";

    PlatformShell& shell() { return shell_; }

    // --- operations on the module never nest ---
    // Marks an operation as running; false when one already runs (the click is
    // then ignored). While it runs the system is kept awake, Cancel is enabled,
    // and the buttons, languages and port list whose clicks it would ignore are
    // disabled.
    bool beginOperation(OperationKind kind = OperationKind::Read);
    void endOperation();
    bool operationRunning() const { return operationRunning_; }
    // What closing the window during the running operation should ask first:
    // nothing for a read, which loses nothing when it stops.
    std::optional<WindowText> closeQuestion() const;

    // --- timeout and cancel ---
    // `timeoutTicks` with its ticker: what every wait of an operation asks how it
    // stands.
    Countdown& countdown() { return countdown_; }
    const Countdown& countdown() const { return countdown_; }
    SteadyClock::time_point now() const { return clock_(); }
    // Delivers the due tick, if any (at most one); called by the front end's
    // pump.
    bool deliverDueTick();
    // How long a pump may sleep before the next tick falls due: at most
    // `longest`, at least 0.
    std::chrono::milliseconds untilNextTick(std::chrono::milliseconds longest) const {
        return countdown_.untilNextTick(longest);
    }

    // --- handlers of the shell ---
    void FormCreate();
    void FormDestroy() {}
    void Button1Click();
    void TimeoutTickerTimer();
    void ClearClick();
    void RadioGroup1Click();
    void zmiana_jezyka(char code);
    void zmiana_logo(char key);
    void LOGOClick();

  private:
    void notify(Ctl id, Change what);
    void showEnabled(Ctl id, bool enabled);
    void setDesignTimeState();
    void uncheckGroupSiblings(Ctl id);

    PlatformShell& shell_;
    ClockFunction clock_;
    std::array<ControlState, kControlCount> controls_{};
    std::array<std::function<void()>, kControlCount> clickHandlers_{};
    std::array<std::array<std::function<void()>, 2>, kControlCount> spinHandlers_{};
    std::array<std::string, kMessageTableSize> messages_{};
    std::string windowCaption_;
    std::string applicationTitle_;
    Countdown countdown_;
    std::vector<ModelListener*> listeners_;
    bool operationRunning_ = false;
    // The state the controls held during an operation get back when it ends.
    std::array<bool, kControlCount> enabledAfterOperation_{};
    OperationKind operationKind_ = OperationKind::Read;
    bool addingNote_ = false;
};

// Runs one operation on the module, refusing to start inside another; ends it
// however it ends.
class OperationScope {
  public:
    explicit OperationScope(MainForm& form, OperationKind kind = OperationKind::Read)
        : form_(form), started_(form.beginOperation(kind)) {}
    ~OperationScope() {
        if (started_) form_.endOperation();
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;
    bool started() const { return started_; }

  private:
    MainForm& form_;
    bool started_;
};

// The program's start: the application title, then the window's creation.
void startUp(MainForm& form);

}  // namespace canprog
