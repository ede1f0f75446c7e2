#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <optional>

#include "LogoImage.h"
#include "Pages.h"
#include "PortList.h"
#include "SpinButton.h"
#include "WrappingCheckBox.h"

namespace canprog::window {

void compact(QLayout* layout, int margin) {
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(3);
}

namespace {

QGroupBox* commandsGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox3, page);
    auto* layout = new QVBoxLayout(group);
    compact(layout);
    for (Ctl id : {Ctl::bbOpen, Ctl::bbUpload, Ctl::Button1}) {
        layout->addWidget(w.make<QPushButton>(id, group));
    }
    return group;
}

QGroupBox* portGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox1, page);
    auto* layout = new QVBoxLayout(group);
    compact(layout);
    layout->addWidget(w.make<PortList>(Ctl::cbPort, group));
    return group;
}

QGroupBox* versionGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox2, page);
    auto* layout = new QVBoxLayout(group);
    compact(layout);
    layout->addWidget(w.make<QPushButton>(Ctl::Button2, group));
    return group;
}

QGroupBox* languageGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::RadioGroup1, page);
    auto* layout = new QGridLayout(group);
    compact(layout);
    layout->setHorizontalSpacing(8);
    // Two columns: EN, PL, DE, RU and CZ, SK, HU from top to bottom.
    const std::array<std::array<std::optional<Ctl>, 4>, 2> columns = {
        {{Ctl::lang2, Ctl::lang1, Ctl::lang3, Ctl::lang4},
         {Ctl::lang6, Ctl::lang5, Ctl::lang7, std::nullopt}}};
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 4; ++row) {
            const auto id =
                columns[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
            if (!id) continue;
            layout->addWidget(w.make<QRadioButton>(*id, group), row, column);
        }
    }
    return group;
}

QGroupBox* programListGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox18, page);
    auto* layout = new QVBoxLayout(group);
    compact(layout);
    layout->addWidget(w.make<QPushButton>(Ctl::bbHelp, group));
    layout->addWidget(w.make<QPushButton>(Ctl::FindFirmware, group));
    // The logos share one place; the brand shows one of them.
    auto* logos = new QGridLayout;
    for (const auto& brand : brands()) {
        auto* logo = new LogoImage(brand, group);
        w.add(brand.logo, logo);
        logos->addWidget(logo, 0, 0, Qt::AlignCenter);
    }
    layout->addLayout(logos);
    return group;
}

QGroupBox* canProgramGroup(WidgetRegistry& w, QWidget* page) {
    auto* group = w.make<QGroupBox>(Ctl::GroupBox19, page);
    auto* layout = new QGridLayout(group);
    compact(layout);
    auto* number = new QHBoxLayout;
    number->setSpacing(2);
    auto* edit = w.make<QLineEdit>(Ctl::MaskEdit2, group);
    edit->setReadOnly(true);
    edit->setFixedWidth(36);
    edit->setAlignment(Qt::AlignCenter);
    number->addWidget(edit);
    number->addWidget(w.make<SpinButton>(Ctl::SpinButton2, group));
    number->addStretch();
    layout->addLayout(number, 0, 0, 1, 2);
    layout->addWidget(w.make<QPushButton>(Ctl::BitBtn4, group), 1, 0);
    layout->addWidget(w.make<QPushButton>(Ctl::BitBtn3, group), 1, 1);
    return group;
}

}  // namespace

QWidget* buildProgrammingPage(WidgetRegistry& w) {
    auto* page = new QWidget;
    w.add(Ctl::TabSheet1, page);
    auto* layout = new QHBoxLayout(page);
    compact(layout);

    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    auto* log = w.make<QPlainTextEdit>(Ctl::meLog, page);
    log->setReadOnly(true);
    // Long notes wrap, so that every line reads from its start without a sideways scroll.
    log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    log->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the next control instead of into the log.
    log->setTabChangesFocus(true);
    left->addWidget(log, 1);
    auto* fileName = w.make<QLineEdit>(Ctl::Edit2, page);
    fileName->setReadOnly(true);
    QPalette blue = fileName->palette();
    blue.setColor(QPalette::Text, Qt::blue);
    fileName->setPalette(blue);
    left->addWidget(fileName);
    auto* progress = w.make<QProgressBar>(Ctl::ProgressBar, page);
    progress->setTextVisible(false);
    progress->setFixedHeight(14);
    left->addWidget(progress);
    layout->addLayout(left, 1);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(3);
    middle->addWidget(commandsGroup(w, page));
    middle->addWidget(portGroup(w, page));
    middle->addWidget(versionGroup(w, page));
    middle->addWidget(w.make<WrappingCheckBox>(Ctl::KeepSettings, page));
    middle->addWidget(w.make<WrappingCheckBox>(Ctl::WaitForModule, page));
    middle->addWidget(w.make<QPushButton>(Ctl::CheckConnection, page));
    middle->addWidget(w.make<QPushButton>(Ctl::SaveLog, page));
    middle->addStretch();
    layout->addLayout(middle);

    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    right->addWidget(languageGroup(w, page));
    right->addWidget(programListGroup(w, page));
    right->addWidget(canProgramGroup(w, page));
    right->addStretch();
    layout->addLayout(right);
    return page;
}

}  // namespace canprog::window
