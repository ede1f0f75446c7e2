#include "TForm1.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "WidgetSync.h"

namespace canprog::window {

TForm1::TForm1(HelpWindow& model, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(model.caption()));
    resize(kClientSize);
    QFont tahomaLike(QStringLiteral("DejaVu Sans"));
    tahomaLike.setPointSize(8);
    setFont(tahomaLike);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(memo_);
    model_.onShow([this] { showModel(); });
}

TForm1::~TForm1() {
    model_.onShow({});
}

void TForm1::showModel() {
    setWindowTitle(toQString(model_.caption()));
    memo_->clear();
    for (const auto& line : model_.lines()) memo_->appendPlainText(toQString(line));
    if (model_.timesShown() == 1) move(HelpWindow::kFirstLeft, HelpWindow::kFirstTop);
    show();
    raise();
    // The model gives the outer size; the frame is known once the window is shown, and is
    // taken off to size the client area.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(model_.outerWidth() - frame.width(), model_.outerHeight() - frame.height());
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    model_.hide();
    event->accept();
}

}  // namespace canprog::window
