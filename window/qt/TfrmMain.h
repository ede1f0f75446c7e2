#pragma once

#include <QWidget>

#include "WidgetRegistry.h"
#include "model/MainForm.h"

class QTabWidget;

namespace canprog::window {

// The main window: renders the MainForm model and forwards the user's clicks to its handlers.
class TfrmMain : public QWidget, public ModelListener {
    Q_OBJECT
  public:
    static constexpr QSize kClientSize{459, 324};

    explicit TfrmMain(MainForm& form, QWidget* parent = nullptr);
    ~TfrmMain() override;

    QWidget* control(Ctl id) const { return widgets_.widget(id); }
    QTabWidget* tabs() const { return tabs_; }
    MainForm& form() { return form_; }

    // Places the window in the middle of its screen.
    void centreOnScreen();

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

    MainForm& form_;
    WidgetRegistry widgets_;
    QTabWidget* tabs_ = nullptr;
};

}  // namespace canprog::window
