#pragma once

#include <windows.h>

#include "GdiHandle.h"
#include "model/HelpWindow.h"

namespace canprog::win32window {

// The help window on Windows: sizeable, a read-only memo with a vertical scroll bar showing the
// program list. Created hidden; the model shows it, closing it only hides it.
class TForm1 {
  public:
    TForm1(HelpWindow& model, HWND owner, HINSTANCE instance);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND handle() const { return window_; }
    HWND memo() const { return memo_; }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void showModel();

    HelpWindow& model_;
    HWND window_ = nullptr;
    HWND memo_ = nullptr;
    FontHandle font_;
};

}  // namespace canprog::win32window
