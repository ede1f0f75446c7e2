#include "cli/Prompt.h"

#include <iostream>
#include <string>

namespace canprog::cli {

// A console read returns when Ctrl-C is pressed; the interrupt is told apart by its event.
PromptAnswer waitForEnter(Interrupts& interrupts) {
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (interrupts.take()) return PromptAnswer::Interrupted;
    if (!read) return PromptAnswer::Quit;
    return line.find_first_of("qQ") != std::string::npos ? PromptAnswer::Quit : PromptAnswer::Next;
}

}  // namespace canprog::cli
