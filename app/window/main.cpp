#include "CanprogApplication.h"
#include "DesktopShell.h"
#include "TForm1.h"
#include "TfrmMain.h"
#include "app/model/MainForm.h"

int main(int argc, char** argv) {
    using namespace canprog;
    window::CanprogApplication application(argc, argv);
    window::DesktopShell shell;
    MainForm form(shell);

    window::TfrmMain mainWindow(form);
    startUp(form);
    window::TForm1 helpWindow;  // created hidden; the CAN program list fills and shows it

    mainWindow.centreOnScreen();
    mainWindow.show();
    return application.exec();
}
