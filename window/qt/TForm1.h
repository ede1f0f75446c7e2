#pragma once

#include <QWidget>

#include "model/HelpWindow.h"

class QPlainTextEdit;

namespace canprog::window {

// The help window: a read-only memo that shows the CAN program list of a firmware file.
// Renders the HelpWindow model whenever the model shows it.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    static constexpr QSize kClientSize{394, 200};

    explicit TForm1(HelpWindow& model, QWidget* parent = nullptr);
    ~TForm1() override;

    QPlainTextEdit* memo() const { return memo_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the list, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showModel();

    HelpWindow& model_;
    QPlainTextEdit* memo_;
};

}  // namespace canprog::window
