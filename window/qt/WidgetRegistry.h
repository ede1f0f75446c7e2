#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "model/Controls.h"

namespace canprog::window {

// The window's widgets by control, each carrying the control's name as its object name.
class WidgetRegistry {
  public:
    template <typename Widget, typename... Args>
    Widget* make(Ctl id, QWidget* parent, Args&&... args) {
        auto* widget = new Widget(std::forward<Args>(args)..., parent);  // owned by its parent
        add(id, widget);
        return widget;
    }

    void add(Ctl id, QWidget* widget) {
        widget->setObjectName(QString::fromLatin1(controlName(id).data(),
                                                  static_cast<qsizetype>(controlName(id).size())));
        widgets_[index(id)] = widget;
    }

    QWidget* widget(Ctl id) const { return widgets_[index(id)]; }

    template <typename Widget>
    Widget* as(Ctl id) const {
        return qobject_cast<Widget*>(widget(id));
    }

  private:
    std::array<QWidget*, kControlCount> widgets_{};
};

}  // namespace canprog::window
