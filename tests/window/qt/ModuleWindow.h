#pragma once

#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <memory>

#include "model/HelpWindow.h"
#include "model/MainForm.h"
#include "operations/Operations.h"
#include "sim/SimulatedModule.h"
#include "support/FormFixture.h"
#include "window/qt/QtMessagePump.h"
#include "window/qt/TfrmMain.h"

namespace canprog::testing {

// The real window over its model, with the operations and the Qt pump wired as the program
// wires them, talking to a simulated module that each test starts.
struct ModuleWindow {
    void start(sim::SimOptions options = {}) {
        module = std::make_unique<sim::SimulatedModule>(std::move(options));
        module->start();
        operations.ComPort().SetDevicePath(module->devicePath());
    }

    template <typename Widget = QPushButton>
    Widget* widget(Ctl id) {
        return window.findChild<Widget*>(QString::fromLatin1(controlName(id).data()));
    }
    QPushButton* button(Ctl id) { return widget<QPushButton>(id); }
    QString logText() { return widget<QPlainTextEdit>(Ctl::meLog)->toPlainText(); }

    RecordingShell shell;
    MainForm form{shell};
    HelpWindow help;
    window::QtMessagePump pump{form};
    Operations operations{form, help, pump};
    window::TfrmMain window{form};
    std::unique_ptr<sim::SimulatedModule> module;
};

}  // namespace canprog::testing
