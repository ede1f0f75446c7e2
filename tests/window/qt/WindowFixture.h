#pragma once

#include <QApplication>

#include "support/FormFixture.h"
#include "window/qt/TfrmMain.h"

namespace canprog::testing {

// The real main window over a model, started as the program starts it, shown offscreen.
struct WindowFixture : FormFixture {
    WindowFixture() : window(form) {
        startUp(form);
        window.show();
        QApplication::processEvents();
    }

    template <typename Widget>
    Widget* find(Ctl id) {
        return window.findChild<Widget*>(QString::fromLatin1(controlName(id).data()));
    }

    window::TfrmMain window;
};

}  // namespace canprog::testing
