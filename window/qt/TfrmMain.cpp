#include "TfrmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "LogoImage.h"
#include "Pages.h"
#include "PortList.h"
#include "SpinButton.h"
#include "WidgetSync.h"
#include "WrappingCheckBox.h"
#include "model/AccessibleNames.h"
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
    showAccessibleNames();
}

void TfrmMain::showTabCaption(Ctl page) {
    const int at = tabs_->indexOf(widgets_.widget(page));
    tabs_->setTabText(at, toQString(form_.text(page)));
}

void TfrmMain::controlChanged(Ctl id, Change what) {
    if (id == Ctl::TabSheet1 || id == Ctl::TabSheet2) {
        if (what == Change::Text) showTabCaption(id);
        // A new language renames every control.
        if (what == Change::Text && id == Ctl::TabSheet1) showAccessibleNames();
        return;
    }
    showState(widgets_.widget(id), form_.control(id), what);
    // The edits inside these groups are named after them.
    if (what == Change::Text && (id == Ctl::GroupBox1 || id == Ctl::GroupBox9 ||
                                 id == Ctl::GroupBox15 || id == Ctl::GroupBox19)) {
        showAccessibleNames();
    } else if (what == Change::Text) {
        if (QWidget* widget = widgets_.widget(id); widget && !qobject_cast<LogoImage*>(widget) &&
                                                   !qobject_cast<WrappingCheckBox*>(widget)) {
            widget->setAccessibleName(toQString(canprog::accessibleName(form_, id)));
        }
    }
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
        if (auto* logo = qobject_cast<LogoImage*>(widget)) {
            connect(logo, &LogoImage::clicked, this, [this, id] { form_.click(id); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [this, id, button] {
                form_.click(id);
                // A checkable button toggles itself; show what the model decided.
                showState(button, form_.control(id), Change::Checked);
                if (id == Ctl::bbOpen) focusAfterFileChoice();
            });
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
            if (auto* ports = qobject_cast<PortList*>(list)) {
                connect(ports, &PortList::aboutToShowEntries, this,
                        [this, id] { form_.click(id); });
            }
        }
    }
    // A click on the language frame itself re-applies the language.
    widgets_.widget(Ctl::RadioGroup1)->installEventFilter(this);
    // The arrow keys step the CAN program number in either of its fields.
    widgets_.widget(Ctl::MaskEdit1)->installEventFilter(this);
    widgets_.widget(Ctl::MaskEdit2)->installEventFilter(this);
}

// After the file dialog the focus goes to "Write" when a file was chosen, so that Enter
// writes it; otherwise it stays on "Open file".
void TfrmMain::focusAfterFileChoice() {
    const Ctl next = form_.enabled(Ctl::bbUpload) ? Ctl::bbUpload : Ctl::bbOpen;
    widgets_.widget(next)->setFocus(Qt::OtherFocusReason);
}

// What a screen reader says for each control, in the current language.
void TfrmMain::showAccessibleNames() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto id = static_cast<Ctl>(i);
        QWidget* widget = widgets_.widget(id);
        if (!widget || qobject_cast<LogoImage*>(widget)) continue;
        if (qobject_cast<WrappingCheckBox*>(widget)) continue;  // named with its caption
        widget->setAccessibleName(toQString(canprog::accessibleName(form_, id)));
        if (auto* spin = qobject_cast<SpinButton*>(widget)) {
            spin->upArrow()->setAccessibleName(
                toQString(spinArrowName(form_, MainForm::Arrow::Up)));
            spin->downArrow()->setAccessibleName(
                toQString(spinArrowName(form_, MainForm::Arrow::Down)));
        }
    }
}

}  // namespace canprog::window

namespace canprog::window {

void TfrmMain::closeEvent(QCloseEvent* event) {
    // A write in progress is not stopped unasked: it would leave the module partly written.
    if (const auto question = form_.closeQuestion()) {
        if (!askToStop(*question)) {
            event->ignore();
            return;
        }
    }
    // An operation runs inside a pump of its own: cancelled, it ends at its next frame, writes
    // its notes and closes the port, and the event loop then ends the program. Without the
    // cancel the window would vanish while the operation went on with the port open.
    if (form_.operationRunning()) form_.Button1Click();
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

bool TfrmMain::askToStop(WindowText question) {
    if (stopQuestion_) return stopQuestion_(form_.windowText(question));
    QMessageBox box(QMessageBox::Warning, windowTitle(), toQString(form_.windowText(question)),
                    QMessageBox::NoButton, this);
    QPushButton* yes =
        box.addButton(toQString(form_.windowText(WindowText::Yes)), QMessageBox::YesRole);
    QPushButton* no =
        box.addButton(toQString(form_.windowText(WindowText::No)), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == widgets_.widget(Ctl::MaskEdit1) ||
         watched == widgets_.widget(Ctl::MaskEdit2)) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const Ctl spin =
                watched == widgets_.widget(Ctl::MaskEdit1) ? Ctl::SpinButton1 : Ctl::SpinButton2;
            form_.spinClick(spin, key == Qt::Key_Up ? MainForm::Arrow::Up : MainForm::Arrow::Down);
            return true;
        }
    }
    if (watched == widgets_.widget(Ctl::RadioGroup1) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        form_.click(Ctl::RadioGroup1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace canprog::window
