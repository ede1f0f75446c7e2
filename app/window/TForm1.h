#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace canprog::window {

// The help window: a read-only memo that shows the CAN program list of a firmware file.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kClientSize{394, 200};

    explicit TForm1(QWidget* parent = nullptr);

    QPlainTextEdit* memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};

}  // namespace canprog::window
