#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "WidgetRegistry.h"
#include "model/MainForm.h"

class QTabWidget;

namespace canprog::window {

// The main window: renders the MainForm model and forwards the user's clicks to its handlers.
class TfrmMain : public QWidget, public ModelListener {
    Q_OBJECT
  public:
    static constexpr QSize kClientSize{canprog::kClientWidth, canprog::kClientHeight};

    explicit TfrmMain(MainForm& form, QWidget* parent = nullptr);
    ~TfrmMain() override;

    QWidget* control(Ctl id) const { return widgets_.widget(id); }
    QTabWidget* tabs() const { return tabs_; }
    MainForm& form() { return form_; }

    // Places the window in the middle of its screen.
    void centreOnScreen();
    // How the question before a write is stopped by closing the window is asked: with its
    // text, and a function to call with the answer (true: stop) whenever it is given. The
    // write goes on meanwhile. Replaced by tests; the window's own asks with a box.
    using StopQuestion =
        std::function<void(const std::string& question, std::function<void(bool)> answer)>;
    void setStopQuestion(StopQuestion ask) { stopQuestion_ = std::move(ask); }
    // Shows how a write stopped by closing the window ended, before the window goes (for
    // tests; the window's own shows a box). The same text goes to standard error.
    void setOutcomeDisplay(std::function<void(const std::string&)> show) {
        outcomeDisplay_ = std::move(show);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the window ends the program, a running operation cancelled first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void controlChanged(Ctl id, Change what) override;
    void windowCaptionChanged() override;
    void applicationTitleChanged() override;

    void showEverything();
    void forwardInputs();
    void showTabCaption(Ctl page);
    void showAccessibleNames();
    void focusAfterFileChoice();
    void keepOneTabStop(Ctl checked);
    std::optional<Ctl> radioAfter(Ctl from, bool forward) const;
    void setTabOrder();
    void askToStop(WindowText question);
    void answerToStop(bool stop);
    // Once the stopped write has ended: its last lines shown, then the window closed.
    void closeOnceStopped();

    MainForm& form_;
    WidgetRegistry widgets_;
    QTabWidget* tabs_ = nullptr;
    StopQuestion stopQuestion_;
    std::function<void(const std::string&)> outcomeDisplay_;
    bool asking_ = false;          // the stop question is open
    bool closing_ = false;         // closing once the operation has ended
    std::size_t linesAtStop_ = 0;  // the log's length when the stop was asked for
};

}  // namespace canprog::window
