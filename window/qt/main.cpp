#include "CanprogApplication.h"
#include "DesktopShell.h"
#include "QtMessagePump.h"
#include "TComSelectForm.h"
#include "TForm1.h"
#include "TfrmMain.h"
#include "operations/WindowCore.h"
#include "version/ProgramVersion.h"

#include <cstdio>
#include <cstring>

namespace {

// The window reads no arguments but these two, answered without a display.
bool answeredOnTheTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("canprog %s\n", canprog::programVersion().c_str());
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(
                "Usage: canprog [--version] [--help]\n"
                "The window that writes firmware into CAN-bus alarm interface modules and reads\n"
                "and sets their parameters, through a serial port at 9600 baud. Everything is\n"
                "chosen in the window; canprog-cli does the same from a terminal.\n");
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace canprog;
    if (answeredOnTheTerminal(argc, argv)) return 0;
    window::CanprogApplication application(argc, argv);
    WindowCore<window::DesktopShell, window::QtMessagePump> core("canprog " + programVersion());
    auto& [shell, form, help, pump, operations] = core;

    window::TfrmMain mainWindow(form);
    shell.setDialogOwner(&mainWindow);
    operations.ComPort().SetPortPrompt(
        [&mainWindow] { return window::TComSelectForm::choose(&mainWindow); });
    startUp(form);
    window::TForm1 helpWindow(help);  // created hidden; "Open" in the program list shows it

    mainWindow.centreOnScreen();
    mainWindow.show();
    return application.exec();
}
