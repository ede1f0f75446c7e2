#pragma once

#include <string>

#include "MainForm.h"

namespace canprog {

// What a screen reader says for a control, in the current language: its caption without the
// blanks that pad it, or, for a control that shows no caption of its own (the log, the file
// name, a progress bar, an edit inside a group), the name the window gives it.
std::string accessibleName(const MainForm& form, Ctl id);

// More about a control where there is more: the web address a logo opens, why the buttons of
// the settings file cannot be pressed yet.
std::string accessibleDescription(const MainForm& form, Ctl id);

// The names of a spin button's two arrows.
std::string spinArrowName(const MainForm& form, MainForm::Arrow arrow);

// A caption without the blanks that pad it in the window.
std::string withoutPadding(const std::string& caption);

}  // namespace canprog
