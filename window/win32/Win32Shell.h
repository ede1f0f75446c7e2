#pragma once

#include <windows.h>

#include <functional>

#include "model/PlatformShell.h"

namespace canprog::win32window {

// The desktop's services on Windows: the browser through ShellExecute, the common file
// dialogs, and the execution state that keeps the system awake while the module is talked to.
class Win32Shell : public PlatformShell {
  public:
    // How the thread tells Windows what it needs (SetThreadExecutionState; tests record it).
    using ExecutionState = std::function<EXECUTION_STATE(EXECUTION_STATE)>;

    explicit Win32Shell(ExecutionState executionState = ::SetThreadExecutionState)
        : executionState_(std::move(executionState)) {}

    void setDialogOwner(HWND owner) { owner_ = owner; }

    void openUrl(const std::string& address) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> chooseFileToSave(const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> chooseFirmware(FirmwareSearch& search) override;
    bool confirm(const std::string& question, const std::string& yes,
                 const std::string& no) override;
    void keepSystemAwake(bool on) override;

  private:
    HWND owner_ = nullptr;
    ExecutionState executionState_;
};

// The dialog's filter: "Description (*.ext)|*.ext" pairs as NUL-separated strings, ended by
// an empty one.
std::wstring dialogFilter(const std::string& filter);
// The default extension without its "*.": "*.hexfw" gives "hexfw".
std::wstring dialogDefaultExtension(const std::string& defaultExtension);

}  // namespace canprog::win32window
