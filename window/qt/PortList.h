#pragma once

#include <QComboBox>

class QAccessibleInterface;

namespace canprog::window {

// The port list: a drop-down that tells, as it opens, that it is about to show its entries, so
// that they can be read again first; its entries are wider than the list itself.
class PortList : public QComboBox {
    Q_OBJECT
  public:
    explicit PortList(QWidget* parent = nullptr);
    void showPopup() override;

  signals:
    void aboutToShowEntries();
};

// The accessible interface for port lists, for QAccessible::installFactory (the accessibility
// framework owns what it returns).
QAccessibleInterface* portListAccessible(const QString& className, QObject* object);

}  // namespace canprog::window
