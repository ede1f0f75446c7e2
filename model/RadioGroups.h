#pragma once

#include <span>

#include "Controls.h"

namespace canprog {

// The radio buttons that share a group with `id` (itself included); empty for other controls.
std::span<const Ctl> radioGroupOf(Ctl id);

// True for check boxes, whose click behaviour runs on every change of state.
bool isCheckBox(Ctl id);

}  // namespace canprog
