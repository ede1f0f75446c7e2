#pragma once

#include "Operations.h"
#include "SettingsFiles.h"
#include "SupportLog.h"
#include "model/HelpWindow.h"
#include "model/MainForm.h"

namespace canprog {

// What every window is made of below its toolkit: the shell, the window's model, the help
// window's model, the pump, and the operations with the checks both windows ask for and the
// settings files bound to their buttons. A window's program makes one, then its own window
// over `form`. `Pump` is built from the model; `program` names the program and its version in
// the logs it saves.
template <typename Shell, typename Pump>
struct WindowCore {
    explicit WindowCore(std::string program) {
        operations.useWindowChecks();
        bindSettingsFiles(form, operations);
        form.bindClick(Ctl::SaveLog, [this, program = std::move(program)] {
            SaveLogClick(form, operations, program);
        });
        operations.refreshPortList();
    }
    WindowCore(const WindowCore&) = delete;
    WindowCore& operator=(const WindowCore&) = delete;

    Shell shell;
    MainForm form{shell};
    HelpWindow help;
    Pump pump{form};
    Operations operations{form, help, pump};
};

}  // namespace canprog
