#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "model/FirmwareSearch.h"

namespace canprog::win32window {

// The "Find firmware..." window: a search edit, the files it finds, the folder listed (another
// can be picked), "Use this file" and "Close". Keyboard: the search has the focus, Tab goes on
// to the list, Enter uses the current file, Escape closes. The dialog is a resource of the
// program (canprog.rc).
class FirmwareFinderDialog {
  public:
    // Shows the window modally over `owner`; the file chosen, or nothing.
    static std::optional<std::string> choose(HWND owner, FirmwareSearch& search);

  private:
    explicit FirmwareFinderDialog(FirmwareSearch& search) : search_(search) {}
    template <typename Handler>
    friend INT_PTR CALLBACK dialogProcOf(HWND, UINT, WPARAM, LPARAM);
    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam);
    void showRows(HWND dialog);
    void updateUseButton(HWND dialog);
    void pickFolder(HWND dialog);
    std::optional<std::size_t> currentUsableRow(HWND dialog) const;

    FirmwareSearch& search_;
    std::optional<std::string> chosen_;
};

}  // namespace canprog::win32window
