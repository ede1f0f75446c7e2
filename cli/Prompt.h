#pragma once

#include "Interrupts.h"

namespace canprog::cli {

enum class PromptAnswer { Next, Quit, Interrupted };

// Waits for the user at the terminal: Enter for the next module, "q" (or the end of the
// input) to stop; Ctrl-C stops too. Nothing else wakes it.
PromptAnswer waitForEnter(Interrupts& interrupts);

}  // namespace canprog::cli
