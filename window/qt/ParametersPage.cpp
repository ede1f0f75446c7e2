#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "Pages.h"
#include "SpinButton.h"

namespace canprog::window {

namespace {

struct OptionGroup {
    Ctl group;
    Ctl first;
    Ctl second;
    bool stacked;  // long captions stand one under the other
};

QGroupBox* optionGroup(WidgetRegistry& w, QWidget* page, const OptionGroup& option) {
    auto* group = w.make<QGroupBox>(option.group, page);
    QBoxLayout* layout = option.stacked ? static_cast<QBoxLayout*>(new QVBoxLayout(group))
                                        : static_cast<QBoxLayout*>(new QHBoxLayout(group));
    compact(layout, 3);
    for (Ctl id : {option.first, option.second}) {
        // One of a pair is always checked, as the model has it: a screen reader says "radio
        // button" only for buttons that exclude each other.
        layout->addWidget(w.make<QRadioButton>(id, group));
    }
    if (!option.stacked) layout->addStretch();
    return group;
}

QGroupBox* hazardLightsGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox16, page);
    auto* layout = new QVBoxLayout(group);
    compact(layout, 3);
    layout->setSpacing(0);
    for (Ctl id : {Ctl::CheckBox2, Ctl::CheckBox1, Ctl::CheckBox3}) {
        layout->addWidget(w.make<QCheckBox>(id, group));
    }
    return group;
}

QGroupBox* pinGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox9, page);
    auto* layout = new QHBoxLayout(group);
    compact(layout, 3);
    auto* pin = w.make<QLineEdit>(Ctl::PIN, group);
    pin->setMaxLength(4);
    // Digits only: a letter is never taken, whatever the keyboard or an assistive tool types.
    pin->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), pin));
    pin->setFixedWidth(44);
    pin->setAlignment(Qt::AlignCenter);
    layout->addWidget(pin);
    return group;
}

QGroupBox* canProgramGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox15, page);
    auto* layout = new QHBoxLayout(group);
    compact(layout, 3);
    layout->setSpacing(2);
    auto* edit = w.make<QLineEdit>(Ctl::MaskEdit1, group);
    edit->setReadOnly(true);
    edit->setFixedWidth(36);
    edit->setAlignment(Qt::AlignCenter);
    layout->addWidget(edit);
    layout->addWidget(w.make<SpinButton>(Ctl::SpinButton1, group));
    layout->addStretch();
    return group;
}

QGroupBox* commandsGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox4, page);
    auto* layout = new QHBoxLayout(group);
    compact(layout, 3);
    layout->addWidget(w.make<QPushButton>(Ctl::BitBtn2, group));
    layout->addWidget(w.make<QPushButton>(Ctl::BitBtn1, group));
    return group;
}

// The page's status: the outcome of the page's last operation, whole, wrapped into two lines
// (and scrolled when it is longer), with the progress of the operation beside it.
QHBoxLayout* statusRow(WidgetRegistry& w, QWidget* page) {
    auto* status = new QHBoxLayout;
    status->setSpacing(4);
    auto* text = w.make<QPlainTextEdit>(Ctl::Edit3, page);
    text->setReadOnly(true);
    text->setProperty(kShowsTextProperty, true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text->setTabChangesFocus(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text->document()->setDocumentMargin(1);
    const int twoLines = 2 * text->fontMetrics().lineSpacing() +
                         2 * static_cast<int>(text->document()->documentMargin()) +
                         2 * text->frameWidth();
    text->setFixedHeight(twoLines);
    status->addWidget(text, 3);
    auto* progress = w.make<QProgressBar>(Ctl::ProgressBar1, page);
    progress->setTextVisible(false);
    progress->setFixedHeight(12);
    status->addWidget(progress, 1);
    return status;
}

}  // namespace

QWidget* buildParametersPage(WidgetRegistry& w) {
    auto* page = new QWidget;
    w.add(Ctl::TabSheet2, page);
    auto* layout = new QVBoxLayout(page);
    compact(layout, 2);
    layout->setSpacing(1);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(3);
    auto* left = new QVBoxLayout;
    left->setSpacing(1);
    for (const OptionGroup& option :
         {OptionGroup{Ctl::GroupBox5, Ctl::RadioButton4, Ctl::RadioButton5, false},
          OptionGroup{Ctl::GroupBox6, Ctl::RadioButton6, Ctl::RadioButton7, false},
          OptionGroup{Ctl::GroupBox7, Ctl::RadioButton8, Ctl::RadioButton9, false},
          OptionGroup{Ctl::GroupBox8, Ctl::RadioButton10, Ctl::RadioButton11, false},
          OptionGroup{Ctl::GroupBox10, Ctl::RadioButton12, Ctl::RadioButton13, true}}) {
        left->addWidget(optionGroup(w, page, option));
    }
    // The settings to and from a file, under the options they hold.
    auto* files = new QHBoxLayout;
    files->setSpacing(4);
    files->addWidget(w.make<QPushButton>(Ctl::bbOpenSettings, page));
    files->addWidget(w.make<QPushButton>(Ctl::bbSaveSettings, page));
    left->addLayout(files);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->setSpacing(1);
    for (const OptionGroup& option :
         {OptionGroup{Ctl::GroupBox11, Ctl::RadioButton14, Ctl::RadioButton15, false},
          OptionGroup{Ctl::GroupBox12, Ctl::RadioButton16, Ctl::RadioButton17, false},
          OptionGroup{Ctl::GroupBox14, Ctl::RadioButton20, Ctl::RadioButton21, false},
          OptionGroup{Ctl::GroupBox13, Ctl::RadioButton18, Ctl::RadioButton19, false}}) {
        right->addWidget(optionGroup(w, page, option));
    }
    right->addWidget(hazardLightsGroup(w, page));
    right->addStretch();
    columns->addLayout(left, 10);
    columns->addLayout(right, 11);
    layout->addLayout(columns);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(optionGroup(
        w, page, OptionGroup{Ctl::GroupBox17, Ctl::RadioButton22, Ctl::RadioButton23, false}));
    bottom->addWidget(pinGroup(w, page));
    bottom->addWidget(canProgramGroup(w, page));
    bottom->addWidget(commandsGroup(w, page), 1);
    layout->addLayout(bottom);
    layout->addLayout(statusRow(w, page));
    layout->addStretch();
    return page;
}

void buildDeveloperControls(WidgetRegistry& w, QWidget* parent) {
    for (Ctl id : {Ctl::EEPROM, Ctl::DecodeON, Ctl::All_memory, Ctl::PICencoding, Ctl::DeviceID,
                   Ctl::Flash_size}) {
        w.make<QCheckBox>(id, parent)->hide();
    }
    auto* status = w.make<QLineEdit>(Ctl::Edit1, parent);
    status->setReadOnly(true);
    status->hide();
    auto* memo = w.make<QPlainTextEdit>(Ctl::Memo1, parent);
    memo->setReadOnly(true);
    memo->hide();
    w.make<QPushButton>(Ctl::Clear, parent)->hide();
    for (Ctl id : {Ctl::lang8, Ctl::lang9}) {
        auto* button = w.make<QRadioButton>(id, parent);
        button->setAutoExclusive(false);
        button->hide();
    }
}

}  // namespace canprog::window
