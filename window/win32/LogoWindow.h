#pragma once

#include <windows.h>

#include "model/BrandTable.h"

namespace canprog::win32window {

// A brand's logo as a child window, drawn by us with GDI at the monitor's scaling. A logo with
// an address shows the hand cursor and tells its parent of a click with WM_COMMAND
// (STN_CLICKED), as a notifying static control would.
HWND createLogoWindow(const Brand& brand, HWND parent, int controlId, RECT place);

// Draws a logo into `area` of `dc`.
void paintLogo(HDC dc, RECT area, Ctl logo);

}  // namespace canprog::win32window
