#include "CanprogApplication.h"
#include "DesktopShell.h"
#include "QtMessagePump.h"
#include "TComSelectForm.h"
#include "TForm1.h"
#include "TfrmMain.h"
#include "app/model/HelpWindow.h"
#include "app/model/MainForm.h"
#include "app/operations/Operations.h"

int main(int argc, char** argv) {
    using namespace canprog;
    window::CanprogApplication application(argc, argv);
    window::DesktopShell shell;
    MainForm form(shell);
    HelpWindow help;
    window::QtMessagePump pump(form);
    Operations operations(form, help, pump);

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
