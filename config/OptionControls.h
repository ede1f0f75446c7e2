#pragma once

#include "model/MainForm.h"

namespace canprog {

// The behaviour of the option controls themselves: the FI/FA letter in two captions, the
// exclusion of FS1 and FS3, and the stepping of the CAN program number.
void RadioButton22Click(MainForm& form);
void RadioButton23Click(MainForm& form);
void CheckBox2Click(MainForm& form);
void CheckBox3Click(MainForm& form);
void SpinButton1DownClick(MainForm& form);
void SpinButton1UpClick(MainForm& form);

// Shows canProgramNumber in decimal in both CAN program edits.
void showCanProgramNumber(MainForm& form);

// Binds the handlers above to their controls (both spin buttons share the arrows' handlers).
void bindOptionControls(MainForm& form);

}  // namespace canprog
