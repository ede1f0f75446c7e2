#pragma once

#include <string>
#include <vector>

namespace canprog {

// What the window shows of one control. Each control uses the fields that fit its kind:
// a caption or edit text, a check mark, the range and position of a progress bar, the lines
// of a memo.
struct ControlState {
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    std::vector<std::string> lines;
};

// What changed about a control, so that a front end can update only that.
enum class Change { Text, Enabled, Visible, Checked, Progress, LinesCleared, LineAdded };

}  // namespace canprog
