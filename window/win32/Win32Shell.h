#pragma once

#include <windows.h>

#include "model/PlatformShell.h"

namespace canprog::win32window {

// The desktop's services on Windows: the browser through ShellExecute and the common
// file-open dialog.
class Win32Shell : public PlatformShell {
  public:
    void setDialogOwner(HWND owner) { owner_ = owner; }

    void openUrl(const std::string& address) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter,
                                                const std::string& defaultExtension) override;

  private:
    HWND owner_ = nullptr;
};

// The dialog's filter: "Description (*.ext)|*.ext" pairs as NUL-separated strings, ended by
// an empty one.
std::wstring dialogFilter(const std::string& filter);
// The default extension without its "*.": "*.hexfw" gives "hexfw".
std::wstring dialogDefaultExtension(const std::string& defaultExtension);

}  // namespace canprog::win32window
