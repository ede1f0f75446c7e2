#include "TComSelectForm.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace canprog::window {

TComSelectForm::TComSelectForm(const std::vector<serial::PresentPort>& ports, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("ComSelectForm"));
    setWindowTitle(QStringLiteral("Select Port"));
    setFixedSize(220, 131);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto* text = new QVBoxLayout(bevel);
    text->setContentsMargins(6, 4, 6, 4);
    text->addWidget(new QLabel(QStringLiteral("The configured serial port is not valid."), bevel));
    text->addWidget(new QLabel(QStringLiteral("Please choose another port."), bevel));
    layout->addWidget(bevel);

    ports_ = new QComboBox(this);
    ports_->setObjectName(QStringLiteral("PortsComboBox"));
    ports_->setEditable(false);
    for (const auto& port : ports)
        ports_->addItem(QString::fromStdString(serial::portItem(port.number)));
    if (ports_->count() > 0) ports_->setCurrentIndex(0);
    layout->addWidget(ports_);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    auto* abort = new QPushButton(QStringLiteral("Cancel"), this);
    abort->setObjectName(QStringLiteral("AbortBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    layout->addLayout(buttons);
}

std::optional<int> TComSelectForm::chosenPort() const {
    return serial::portNumberFromItem(ports_->currentText().toStdString());
}

std::optional<int> TComSelectForm::choose(QWidget* parent) {
    TComSelectForm dialog(serial::presentPorts(), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenPort();
}

}  // namespace canprog::window
