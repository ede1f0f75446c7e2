// canprog.exe: the window on Windows.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "ComApartment.h"
#include "TComSelectForm.h"
#include "TForm1.h"
#include "TfrmMain.h"
#include "Win32Shell.h"
#include "WindowMessagePump.h"
#include "base/win32/WideText.h"
#include "operations/WindowCore.h"
#include "version/ProgramVersion.h"

namespace {

using namespace canprog;

constexpr char kUsage[] =
    "Usage: canprog [--version] [--help]\n"
    "The window that writes firmware into CAN-bus alarm interface modules and reads\n"
    "and sets their parameters, through a serial port at 9600 baud. Everything is\n"
    "chosen in the window; canprog-cli does the same from a terminal.\n";

// The window reads no arguments but these two. Their answer goes to the console that started
// the program, or into a message box when there is none.
bool answeredWithoutTheWindow() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return false;
    std::string answer;
    for (int i = 1; i < count && answer.empty(); ++i) {
        const std::wstring argument = arguments[i];
        if (argument == L"--version") answer = "canprog " + programVersion() + "\n";
        if (argument == L"--help") answer = kUsage;
    }
    ::LocalFree(arguments);
    if (answer.empty()) return false;
    ::AttachConsole(ATTACH_PARENT_PROCESS);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (!out || out == INVALID_HANDLE_VALUE ||
        !::WriteFile(out, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr)) {
        ::MessageBoxW(nullptr, win32::widen(answer).c_str(), L"canprog",
                      MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

int runWindow(HINSTANCE instance, int showCommand) {
    const win32window::ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                                                       ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    WindowCore<win32window::Win32Shell, win32window::WindowMessagePump> core("canprog " +
                                                                             programVersion());
    auto& [shell, form, help, pump, operations] = core;

    win32window::TfrmMain mainWindow(form, instance);
    shell.setDialogOwner(mainWindow.handle());
    operations.ComPort().SetPortPrompt(
        [&mainWindow] { return win32window::TComSelectForm::choose(mainWindow.handle()); });
    startUp(form);
    win32window::TForm1 helpWindow(help, mainWindow.handle(), instance);  // hidden until asked
    pump.addDialogWindow(mainWindow.handle());
    pump.setShortcuts(
        [&mainWindow](const MSG& message) { return mainWindow.takeShortcut(message); });

    mainWindow.centreOnScreen();
    ::ShowWindow(mainWindow.handle(), showCommand);
    ::UpdateWindow(mainWindow.handle());
    mainWindow.focusFirstControl();
    return pump.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (answeredWithoutTheWindow()) return 0;
    try {
        return runWindow(instance, showCommand);
    } catch (const std::exception& error) {
        ::MessageBoxW(nullptr, win32::widen(error.what()).c_str(), L"canprog",
                      MB_OK | MB_ICONERROR);
    }
    return 1;
}
