#pragma once

#include <span>

#include "model/Controls.h"
#include "model/MainForm.h"

namespace canprog::win32window {

// What kind of Win32 control shows a control of the model.
enum class Kind {
    Page,      // a tab page: its caption is the tab's
    Group,     // a group box
    Button,    // a push button
    Radio,     // a radio button whose state the model decides
    Check,     // a check box whose state the model decides
    Edit,      // a one-line edit that the user types into
    ReadOnly,  // a one-line edit that only shows
    Memo,      // a multi-line, read-only edit with a vertical scroll bar
    Status,    // a read-only text of a few lines that wraps, and scrolls when it is longer
    List,      // a drop-down list
    Progress,  // a progress bar
    Spin,      // an up-down control
    Logo,      // a brand logo, drawn by us
};

enum class Page { Programming, Parameters, Hidden };

// One control of the window: its kind, its page and its place in 96-dpi pixels of the page.
struct Place {
    Ctl id;
    Kind kind;
    Page page;
    int x, y, width, height;
};

// The window's layout as data: every control of the model, each once. Developer controls sit
// on no page and are never shown.
std::span<const Place> windowLayout();

// The client area of the main window at 96 dpi, the tab strip at its bottom included.
inline constexpr int kClientWidth = canprog::kClientWidth;
inline constexpr int kClientHeight = canprog::kClientHeight;

}  // namespace canprog::win32window
