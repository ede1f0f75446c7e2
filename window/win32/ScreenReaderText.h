#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace canprog::win32window {

// What a screen reader learns of one control beyond what Windows makes of it: its name (an
// edit's own text is its content, a progress bar has none, a group box's caption is padded),
// the names of its parts (a spin button's arrows), a description (the address behind a logo),
// and, for a logo, that it is a button to press.
struct ScreenReaderText {
    std::function<std::wstring()> name;
    std::function<std::wstring(long part)> partName;  // parts count from 1; none when empty
    std::function<std::wstring()> description;
    long role = 0;  // what the control is (ROLE_SYSTEM_...), where the system cannot say
    bool pushButton = false;
};

// Makes `control` answer a screen reader with `text`, read when it asks: the control answers
// WM_GETOBJECT with the system's own accessible object, its name, description and role taken
// from `text`. `text` must live as long as the control.
void giveScreenReaderText(HWND control, const ScreenReaderText* text);

// The name a screen reader gets for a control (or one of its parts), as it asks for it.
std::wstring screenReaderName(HWND control, long part = 0);
// The same for its description and its role (ROLE_SYSTEM_...).
std::wstring screenReaderDescription(HWND control);
long screenReaderRole(HWND control);

}  // namespace canprog::win32window
