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
}  // namespace

ProgramList readProgramList(std::string_view fileBytes, bool decode) {
    ProgramList list;
    int count = 0;
    int width = kMinWidth;
    LineReader file(fileBytes);
    while (!file.atEnd()) {
        std::string line;
        if (decode) {
            list.pairsRead += 1;
            line = decodeLine(file.readLine(), lineKey(list.pairsRead), false);
            file.readLine();
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
