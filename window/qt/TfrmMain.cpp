#include "TfrmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "LogoImage.h"
#include "Pages.h"
#include "SpinButton.h"
#include "WidgetSync.h"
#include "model/BrandTable.h"

namespace canprog::window {

TfrmMain::TfrmMain(MainForm& form, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      form_(form) {
    setObjectName(QStringLiteral("frmMain"));
    setFixedSize(kClientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    tabs_ = new QTabWidget(this);
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(false);
    tabs_->addTab(buildProgrammingPage(widgets_), QString());
    tabs_->addTab(buildParametersPage(widgets_), QString());
    layout->addWidget(tabs_);
    buildDeveloperControls(widgets_, this);

    showEverything();
    forwardInputs();
    form_.addListener(this);
}

TfrmMain::~TfrmMain() {
    form_.removeListener(this);
}

void TfrmMain::centreOnScreen() {
    if (const QScreen* desktop = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(desktop->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TfrmMain::showEverything() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Ctl>(i);
        if (id == Ctl::TabSheet1 || id == Ctl::TabSheet2) continue;  // the tab widget shows pages
        showAll(widgets_.widget(id), form_.control(id));
    }
    showTabCaption(Ctl::TabSheet1);
    showTabCaption(Ctl::TabSheet2);
    windowCaptionChanged();
}

void TfrmMain::showTabCaption(Ctl page) {
    const int at = tabs_->indexOf(widgets_.widget(page));
    tabs_->setTabText(at, toQString(form_.text(page)));
}

void TfrmMain::controlChanged(Ctl id, Change what) {
    if (id == Ctl::TabSheet1 || id == Ctl::TabSheet2) {
        if (what == Change::Text) showTabCaption(id);
        return;
    }
    showState(widgets_.widget(id), form_.control(id), what);
}

void TfrmMain::windowCaptionChanged() {
    setWindowTitle(toQString(form_.windowCaption()));
}

void TfrmMain::applicationTitleChanged() {
    QApplication::setApplicationDisplayName(toQString(form_.applicationTitle()));
}

// Every user action goes to the model; the model's answer comes back through the listener.
void TfrmMain::forwardInputs() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Ctl>(i);
        QWidget* widget = widgets_.widget(id);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [this, id, button] {
                form_.click(id);
                // A checkable button toggles itself; show what the model decided.
                showState(button, form_.control(id), Change::Checked);
            });
        } else if (auto* logo = qobject_cast<LogoImage*>(widget)) {
            connect(logo, &LogoImage::clicked, this, [this, id] { form_.click(id); });
        } else if (auto* spin = qobject_cast<SpinButton*>(widget)) {
            connect(spin, &SpinButton::upClicked, this,
                    [this, id] { form_.spinClick(id, MainForm::Arrow::Up); });
            connect(spin, &SpinButton::downClicked, this,
                    [this, id] { form_.spinClick(id, MainForm::Arrow::Down); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !edit->isReadOnly()) {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id](const QString& text) { form_.setText(id, text.toStdString()); });
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            connect(list, &QComboBox::currentIndexChanged, this,
                    [this](int item) { form_.selectPort(item); });
        }
    }
    // A click on the language frame itself re-applies the language.
    widgets_.widget(Ctl::RadioGroup1)->installEventFilter(this);
}

}  // namespace canprog::window

namespace canprog::window {

void TfrmMain::closeEvent(QCloseEvent* event) {
    // An operation runs inside a pump of its own: cancelled, it ends at its next wait and
    // closes the port, and the event loop then ends the program. Without the cancel the window
    // would vanish while the operation went on with the port open for its whole time-out.
    if (form_.operationRunning()) form_.Button1Click();
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widgets_.widget(Ctl::RadioGroup1) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        form_.click(Ctl::RadioGroup1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace canprog::window
