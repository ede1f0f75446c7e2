#include "FirmwareFinderDialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace canprog::window {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The search edit passes Down on to the list, so that the files are reached from the keyboard
// without a Tab.
class SearchEdit : public QLineEdit {
  public:
    SearchEdit(QListWidget* list, QWidget* parent) : QLineEdit(parent), list_(list) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Down && list_->count() > 0) {
            list_->setFocus(Qt::TabFocusReason);
            if (list_->currentRow() < 0) list_->setCurrentRow(0);
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

  private:
    QListWidget* list_;
};

}  // namespace

FirmwareFinderDialog::FirmwareFinderDialog(FirmwareSearch& search, QWidget* owner)
    : QDialog(owner), search_(search) {
    setWindowTitle(qt(search.caption(WindowText::FindFirmware)).remove(QStringLiteral("...")));
    auto* layout = new QGridLayout(this);
    rows_ = new QListWidget(this);
    folder_ = new QLineEdit(this);
    folder_->setReadOnly(true);
    text_ = new SearchEdit(rows_, this);
    auto* other = new QPushButton(qt(search.caption(WindowText::OtherFolder)), this);
    auto* folderLabel = new QLabel(qt(search.caption(WindowText::LibraryFolder)), this);
    folderLabel->setBuddy(folder_);
    auto* searchLabel = new QLabel(qt(search.caption(WindowText::SearchText)), this);
    searchLabel->setBuddy(text_);
    folder_->setAccessibleName(folderLabel->text().remove(QLatin1Char(':')));
    text_->setAccessibleName(searchLabel->text().remove(QLatin1Char(':')));
    rows_->setAccessibleName(windowTitle());
    use_ = new QPushButton(qt(search.caption(WindowText::UseFirmware)), this);
    use_->setDefault(true);
    auto* close = new QPushButton(qt(search.caption(WindowText::CloseWindow)), this);

    layout->addWidget(folderLabel, 0, 0);
    layout->addWidget(folder_, 0, 1);
    layout->addWidget(other, 0, 2);
    layout->addWidget(searchLabel, 1, 0);
    layout->addWidget(text_, 1, 1, 1, 2);
    layout->addWidget(rows_, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(use_);
    buttons->addWidget(close);
    layout->addLayout(buttons, 3, 0, 1, 3);
    setTabOrder(text_, rows_);
    setTabOrder(rows_, use_);
    setTabOrder(use_, close);
    setTabOrder(close, other);
    resize(640, 400);

    connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) {
        search_.setSearchText(text.toStdString());
        showRows();
    });
    connect(other, &QPushButton::clicked, this, &FirmwareFinderDialog::pickFolder);
    connect(use_, &QPushButton::clicked, this, &FirmwareFinderDialog::useCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(rows_, &QListWidget::itemActivated, this, &FirmwareFinderDialog::useCurrent);
    connect(rows_, &QListWidget::currentRowChanged, this, &FirmwareFinderDialog::updateUseButton);
    text_->setText(qt(search.searchText()));
    showRows();
    text_->setFocus();
}

void FirmwareFinderDialog::showRows() {
    folder_->setText(qt(search_.folder()));
    rows_->clear();
    for (const FirmwareSearch::Row& row : search_.rows()) {
        auto* item = new QListWidgetItem(qt(row.text), rows_);
        // A broken file is listed, and read by a screen reader, but cannot be chosen.
        if (!row.usable) item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    if (rows_->count() > 0) rows_->setCurrentRow(0);
    updateUseButton();
}

void FirmwareFinderDialog::pickFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), qt(search_.folder()));
    if (folder.isEmpty()) return;
    search_.setFolder(folder.toStdString());
    showRows();
}

void FirmwareFinderDialog::updateUseButton() {
    const int row = rows_->currentRow();
    use_->setEnabled(row >= 0 && static_cast<std::size_t>(row) < search_.rows().size() &&
                     search_.rows()[static_cast<std::size_t>(row)].usable);
}

void FirmwareFinderDialog::useCurrent() {
    if (!use_->isEnabled()) return;
    chosen_ = search_.rows()[static_cast<std::size_t>(rows_->currentRow())].path;
    accept();
}

}  // namespace canprog::window
