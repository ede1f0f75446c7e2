#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace canprog {

// The CAN program list that a firmware file carries as ';' comment lines, with the size of
// the window that shows it.
struct ProgramList {
    std::vector<std::string> lines;  // without the ';', as the file's bytes (Windows-1250)
    int lineCount = 10;              // clamped to 10..40
    int widthChars = 50;             // clamped to 50..200
    int pairsRead = 0;               // encoded pairs decoded while reading

    int outerWidthPx() const { return widthChars * 5; }
    int outerHeightPx() const { return lineCount * 15; }
};

// Reads every line of the file (both pairs' first lines when decoding, the second dropped) and
// keeps those that begin with ';', wherever they stand.
ProgramList readProgramList(std::string_view fileBytes, bool decode);

}  // namespace canprog
