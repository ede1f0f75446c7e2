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
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>

#include "LogoImage.h"
#include "Pages.h"
#include "PortList.h"
#include "SpinButton.h"
#include "WidgetSync.h"
#include "WrappingCheckBox.h"
#include "model/AccessibleNames.h"
#include "model/BrandTable.h"
#include "model/RadioGroups.h"

namespace canprog::window {

namespace {
// How often a window that is to close looks whether the stopped write has ended.
constexpr int kCloseWhenIdleMs = 20;
}  // namespace

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
    setTabOrder();
    for (Ctl id : {Ctl::lang1, Ctl::RadioButton4, Ctl::RadioButton6, Ctl::RadioButton8,
                   Ctl::RadioButton10, Ctl::RadioButton12, Ctl::RadioButton14, Ctl::RadioButton16,
                   Ctl::RadioButton18, Ctl::RadioButton20, Ctl::RadioButton22}) {
        keepOneTabStop(id);
    }
    form_.addListener(this);
    // The window opens with the focus on its first command, not in the log.
    widgets_.widget(Ctl::bbOpen)->setFocus(Qt::OtherFocusReason);
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
    } else if (what == Change::Text || what == Change::Enabled) {
        if (QWidget* widget = widgets_.widget(id);
            widget && !qobject_cast<WrappingCheckBox*>(widget)) {
            widget->setAccessibleName(toQString(canprog::accessibleName(form_, id)));
            widget->setAccessibleDescription(toQString(canprog::accessibleDescription(form_, id)));
        }
    }
    if (what == Change::Checked && !radioGroupOf(id).empty()) keepOneTabStop(id);
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
        } else if (auto* option = qobject_cast<QAbstractButton*>(widget);
                   option && option->isCheckable()) {
            // However it changes (a click, a key, an assistive tool's toggle), the model
            // decides: a check box flips, a radio button is checked and unchecks its partner,
            // and what the model decided is shown.
            connect(option, &QAbstractButton::toggled, this, [this, id, option](bool on) {
                if (on != form_.checked(id) && (on || isCheckBox(id))) form_.click(id);
                showState(option, form_.control(id), Change::Checked);
            });
            if (!radioGroupOf(id).empty()) option->installEventFilter(this);
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

// A group of radio buttons is one Tab stop, at its checked button; the arrow keys move inside
// it (see eventFilter).
void TfrmMain::keepOneTabStop(Ctl checked) {
    for (Ctl id : radioGroupOf(checked)) {
        if (QWidget* button = widgets_.widget(id)) {
            button->setFocusPolicy(form_.checked(id) ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }
}

// The radio button an arrow key moves to from `from`: the next or previous one of its group in
// the order the window shows them, round at the ends.
std::optional<Ctl> TfrmMain::radioAfter(Ctl from, bool forward) const {
    const auto group = radioGroupOf(from);
    std::vector<Ctl> shown;
    QWidget* parent = widgets_.widget(from)->parentWidget();
    for (QAbstractButton* sibling :
         parent->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        for (Ctl id : group) {
            if (widgets_.widget(id) == sibling && sibling->isVisible()) shown.push_back(id);
        }
    }
    const auto at = std::find(shown.begin(), shown.end(), from);
    if (at == shown.end() || shown.size() < 2) return std::nullopt;
    const auto index = static_cast<std::size_t>(at - shown.begin());
    return shown[(index + (forward ? 1 : shown.size() - 1)) % shown.size()];
}

// The window's controls in the order Tab visits them: the commands first, then the languages
// and the module's CAN program, the log last; on the parameters page as it reads.
void TfrmMain::setTabOrder() {
    const std::vector<Ctl> programming = {
        Ctl::bbOpen,      Ctl::bbUpload,     Ctl::Button1,       Ctl::cbPort,
        Ctl::Button2,     Ctl::KeepSettings, Ctl::WaitForModule, Ctl::CheckConnection,
        Ctl::SaveLog,     Ctl::lang2,        Ctl::lang1,         Ctl::lang3,
        Ctl::lang4,       Ctl::lang6,        Ctl::lang5,         Ctl::lang7,
        Ctl::bbHelp,      Ctl::FindFirmware, Ctl::sarnic_image,  Ctl::MaskEdit2,
        Ctl::SpinButton2, Ctl::BitBtn4,      Ctl::BitBtn3,       Ctl::meLog,
        Ctl::Edit2};
    QWidget* previous = nullptr;
    for (Ctl id : programming) {
        QWidget* next = widgets_.widget(id);
        if (previous && next) QWidget::setTabOrder(previous, next);
        if (next) previous = next;
    }
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
        if (!widget) continue;
        if (qobject_cast<WrappingCheckBox*>(widget)) continue;  // named with its caption
        widget->setAccessibleName(toQString(canprog::accessibleName(form_, id)));
        widget->setAccessibleDescription(toQString(canprog::accessibleDescription(form_, id)));
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
    // A stopped write still ending its frame: the window goes once it has ended.
    if (closing_ && form_.operationRunning()) {
        event->ignore();
        return;
    }
    // A write in progress is not stopped unasked: it would leave the module partly written.
    // The question does not hold the write: it goes on while the window asks.
    if (const auto question = form_.closeQuestion(); question && !closing_) {
        event->ignore();
        if (!asking_) askToStop(*question);
        return;
    }
    // A read runs inside a pump of its own: cancelled, it ends at its next frame and closes
    // the port, and the event loop then ends the program.
    if (form_.operationRunning()) form_.Button1Click();
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

void TfrmMain::askToStop(WindowText question) {
    asking_ = true;
    const auto answer = [this](bool stop) { answerToStop(stop); };
    if (stopQuestion_) {
        stopQuestion_(form_.windowText(question), answer);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                toQString(form_.windowText(question)), QMessageBox::NoButton, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    QPushButton* yes =
        box->addButton(toQString(form_.windowText(WindowText::Yes)), QMessageBox::YesRole);
    QPushButton* no =
        box->addButton(toQString(form_.windowText(WindowText::No)), QMessageBox::NoRole);
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    connect(box, &QMessageBox::finished, this,
            [this, box, yes] { answerToStop(box->clickedButton() == yes); });
    box->open();  // asks without a loop of its own: the write's frames keep going
}

void TfrmMain::answerToStop(bool stop) {
    asking_ = false;
    if (!stop) return;  // the write simply went on
    closing_ = true;
    linesAtStop_ = form_.logLines().size();
    // The write ends at its next frame and writes its notes; the window shows them, then goes.
    if (form_.operationRunning()) form_.Button1Click();
    closeOnceStopped();
}

void TfrmMain::closeOnceStopped() {
    if (form_.operationRunning()) {
        QTimer::singleShot(kCloseWhenIdleMs, this, [this] { closeOnceStopped(); });
        return;
    }
    std::string outcome;
    const auto& lines = form_.logLines();
    for (std::size_t i = std::min(linesAtStop_, lines.size()); i < lines.size(); ++i) {
        outcome += (outcome.empty() ? "" : "\n") + lines[i];
    }
    if (!outcome.empty()) {
        std::cerr << outcome << '\n' << std::flush;
        if (outcomeDisplay_) {
            outcomeDisplay_(outcome);
        } else {
            QMessageBox::information(this, windowTitle(), toQString(outcome));
        }
    }
    QWidget::close();
    QCoreApplication::quit();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool arrow =
            key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
        if (const auto from = widgets_.control(static_cast<QWidget*>(watched));
            arrow && from && !radioGroupOf(*from).empty()) {
            if (const auto to = radioAfter(*from, key == Qt::Key_Down || key == Qt::Key_Right)) {
                form_.click(*to);
                if (form_.checked(*to)) widgets_.widget(*to)->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
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
