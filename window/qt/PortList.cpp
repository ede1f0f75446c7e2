#include "PortList.h"

#include <QAbstractItemView>

namespace canprog::window {

namespace {
// Room for "COM17 — FT232R USB UART" when the list is open.
constexpr int kOpenListWidth = 240;
constexpr int kShownCharacters = 6;
}  // namespace

PortList::PortList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    // The closed list keeps the column's width; the open one shows the whole entries.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(kShownCharacters);
    view()->setMinimumWidth(kOpenListWidth);
}

void PortList::showPopup() {
    emit aboutToShowEntries();
    QComboBox::showPopup();
}

}  // namespace canprog::window
