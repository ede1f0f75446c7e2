#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

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
    // The control a widget shows, when it shows one.
    std::optional<Ctl> control(const QWidget* widget) const {
        for (std::size_t i = 0; i < widgets_.size(); ++i) {
            if (widgets_[i] == widget) return static_cast<Ctl>(i);
        }
        return std::nullopt;
    }

    template <typename Widget>
    Widget* as(Ctl id) const {
        return qobject_cast<Widget*>(widget(id));
    }

  private:
    std::array<QWidget*, kControlCount> widgets_{};
};

}  // namespace canprog::window
