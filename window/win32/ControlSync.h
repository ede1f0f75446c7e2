#pragma once

#include <windows.h>

#include "Layout.h"
#include "model/ControlState.h"

namespace canprog::win32window {

// Control identifiers of the window: the model's index of the control, offset.
inline constexpr int kFirstControlId = 1000;
inline int controlIdOf(Ctl id) {
    return kFirstControlId + static_cast<int>(index(id));
}

// Creates the Win32 control that shows `place` on `parent`, at the monitor's scaling.
HWND createControl(const Place& place, HWND parent, UINT dpi);

// Where a control sits on its page at the monitor's scaling.
RECT placeOnPage(const Place& place, UINT dpi);

// Shows one change of the model's state of a control.
void showState(HWND control, Kind kind, const ControlState& state, Change what);
// Shows all of it, as when the window is created.
void showAll(HWND control, Kind kind, const ControlState& state);

// One line of a memo as the edit control shows it, and the text of a memo that shows `lines`.
std::wstring memoLine(const std::string& line);
std::wstring memoText(const std::vector<std::string>& lines);

// A caption as a button or group box shows it: a lone '&' shows itself.
std::wstring captionText(const std::string& text);

}  // namespace canprog::win32window
