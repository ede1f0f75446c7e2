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

// The CAN program numbers a list names, in its order: where its lines, after any heading lines
// that carry no number, each begin with a number (";11 Demo sedan 2014-2018"), the numbers as
// written ("11"); empty when the list names none, or when a line inside it carries no number,
// so that a list that is only prose is never taken for one that excludes every car.
std::vector<std::string> canProgramNumbers(const ProgramList& list);

// Whether a list of numbers holds the CAN program a module shows as `program` ("11"); numbers
// are compared by their value, so "011" and "11" are one program.
bool namesCanProgram(const std::vector<std::string>& numbers, const std::string& program);

// Reads every line of the file (both pairs' first lines when decoding, the second dropped) and
// keeps those that begin with ';', wherever they stand.
ProgramList readProgramList(std::string_view fileBytes, bool decode);

}  // namespace canprog
