#include "PortList.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace canprog::window {

namespace {
// Room for "COM17 — FT232R USB UART" when the list is open.
constexpr int kOpenListWidth = 240;
constexpr int kShownCharacters = 6;

// What a screen reader is told of the port list: its name is "Port" (Qt's own gives a closed
// list the name of its current entry on this system), its value the chosen entry, and it can
// be opened.
class PortListAccessible : public QAccessibleWidget {
  public:
    explicit PortListAccessible(PortList* list) : QAccessibleWidget(list, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return list()->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            list()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    PortList* list() const { return static_cast<PortList*>(widget()); }
};

}  // namespace

QAccessibleInterface* portListAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("canprog::window::PortList")) {
        if (auto* list = qobject_cast<PortList*>(object)) return new PortListAccessible(list);
    }
    return nullptr;
}

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
