#pragma once

#include <QWidget>
#include <functional>
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
    // Replaces the question before a write is stopped by closing the window (for tests): it
    // gets the question's text and answers whether to stop.
    void setStopQuestion(std::function<bool(const std::string&)> ask) {
        stopQuestion_ = std::move(ask);
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
    bool askToStop(WindowText question);

    MainForm& form_;
    WidgetRegistry widgets_;
    QTabWidget* tabs_ = nullptr;
    std::function<bool(const std::string&)> stopQuestion_;
};

}  // namespace canprog::window
