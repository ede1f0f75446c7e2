#include "ProgramList.h"

#include <algorithm>

#include "HexText.h"
#include "LineReader.h"

namespace canprog {

namespace {
constexpr int kMinLines = 10;
constexpr int kMaxLines = 40;
constexpr int kMinWidth = 50;
constexpr int kMaxWidth = 200;
// The digits a line begins with, after blanks; empty when it begins otherwise.
std::string leadingNumber(const std::string& line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    const std::size_t end = line.find_first_not_of("0123456789", start);
    return line.substr(start, (end == std::string::npos ? line.size() : end) - start);
}

std::string withoutLeadingZeros(const std::string& number) {
    const std::size_t first = number.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : number.substr(first);
}

}  // namespace

std::vector<std::string> canProgramNumbers(const ProgramList& list) {
    std::vector<std::string> numbers;
    for (const std::string& line : list.lines) {
        std::string number = leadingNumber(line);
        if (number.empty()) {
            if (numbers.empty()) continue;  // a heading above the list
            return {};
        }
        numbers.push_back(std::move(number));
    }
    return numbers;
}

bool namesCanProgram(const std::vector<std::string>& numbers, const std::string& program) {
    const std::string wanted = withoutLeadingZeros(program);
    return std::any_of(numbers.begin(), numbers.end(), [&](const std::string& number) {
        return withoutLeadingZeros(number) == wanted;
    });
}

ProgramList readProgramList(std::string_view fileBytes, bool decode) {
    ProgramList list;
    int count = 0;
    int width = kMinWidth;
    LineReader file(fileBytes);
    while (!file.atEnd()) {
        std::string line;
        if (decode) {
            list.pairsRead += 1;
            const std::string key = lineKey(list.pairsRead);
            line = file.readLine();
            file.readLine();
            // Only a line whose first byte decodes to ';' is decoded whole: the records are
            // most of a file.
            if (line.empty() ||
                decodeLine(std::string_view(line).substr(0, 1), key, false) != ";") {
                continue;
            }
            line = decodeLine(line, key, false);
        } else {
            line = file.readLine();
        }
        if (line.empty() || line.front() != ';') continue;
        line.erase(0, 1);
        width = std::max(width, static_cast<int>(line.size()));
        list.lines.push_back(std::move(line));
        ++count;
    }
    list.lineCount = std::clamp(count, kMinLines, kMaxLines);
    list.widthChars = std::min(width, kMaxWidth);
    return list;
}

}  // namespace canprog
