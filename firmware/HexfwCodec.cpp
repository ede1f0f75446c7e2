#include "HexfwCodec.h"

#include "HexText.h"
#include "LineReader.h"

namespace canprog {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

HexfwConversion encodeHexfw(std::string_view plain) {
    HexfwConversion result;
    LineReader file(plain);
    int pair = 0;
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        const std::string encoded = decodeLine(line, lineKey(++pair), true);
        if (encoded.find_first_of("\r\n") != std::string::npos) {
            result.problem = {file.lineNumber(),
                              "line cannot be encoded: it would hold a line end"};
            return result;
        }
        result.output.append(encoded).append(kLineEnd).append(kFillerLine).append(kLineEnd);
    }
    result.ok = true;
    return result;
}

HexfwConversion decodeHexfw(std::string_view encoded) {
    HexfwConversion result;
    LineReader file(encoded);
    int pair = 0;
    while (!file.atEnd()) {
        result.output.append(decodeLine(file.readLine(), lineKey(++pair), false)).append(kLineEnd);
        file.readLine();
    }
    result.ok = true;
    return result;
}

}  // namespace canprog
